#include "platform/single_instance.h"

#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace voltaro::platform {

namespace {
constexpr int kWaitMs = 2000;
const QByteArray kHandOver = QByteArrayLiteral("^x\n");
const QByteArray kTaken = QByteArrayLiteral("ok\n");
}  // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), name_(key + QLatin1Char('-') + QString::number(::getuid())) {
    server_.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
}

bool SingleInstance::handOver() {
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kWaitMs)) return false;
    socket.write(kHandOver);
    if (!socket.waitForBytesWritten(kWaitMs)) return false;
    // Wait until the running instance has processed the hand-over.
    while (socket.bytesAvailable() < kTaken.size())
        if (!socket.waitForReadyRead(kWaitMs)) return false;
    return socket.readAll() == kTaken;
}

SingleInstance::Role SingleInstance::claim() {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (handOver()) return Role::HandedOver;
        if (server_.listen(name_)) return Role::Primary;
        // Someone else is listening but did not answer yet (it is starting up): try again.
        QThread::msleep(50);
    }
    return Role::Failed;
}

void SingleInstance::onNewConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) return;
            if (socket->readLine() == kHandOver) {
                Q_EMIT activationRequested();
                socket->write(kTaken);
                socket->flush();
            }
        });
    }
}

}  // namespace voltaro::platform
