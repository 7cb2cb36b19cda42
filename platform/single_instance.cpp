#include "platform/single_instance.h"

#include <QFile>
#include <QLocalSocket>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace voltaro::platform {

namespace {
constexpr int kWaitMs = 2000;
constexpr int kAttempts = 3;
const QByteArray kHandOver = QByteArrayLiteral("^x\n");
const QByteArray kTaken = QByteArrayLiteral("ok\n");

// A folder that only this user may enter: a real folder (not a link), owned by the user, with
// no access for group or others.
bool isPrivateFolder(const QByteArray& path) {
    struct stat status {};
    return ::lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::getuid() && (status.st_mode & 077) == 0;
}
}  // namespace

QString SingleInstance::privateFolder(const QString& key, QString* why) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && isPrivateFolder(runtime))
        return QFile::decodeName(runtime);
    const QByteArray fallback =
        "/tmp/" + QFile::encodeName(key) + "-" + QByteArray::number(::getuid());
    if (::mkdir(fallback.constData(), 0700) != 0 && errno != EEXIST) {
        if (why != nullptr)
            *why =
                QFile::decodeName(fallback) + ": " + QString::fromLocal8Bit(std::strerror(errno));
        return {};
    }
    if (!isPrivateFolder(fallback)) {
        if (why != nullptr)
            *why = QFile::decodeName(fallback) + " is not a private folder of this user";
        return {};
    }
    return QFile::decodeName(fallback);
}

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent) {
    QString why;
    const QString folder = privateFolder(key, &why);
    if (folder.isEmpty()) {
        warning_ = QStringLiteral(
                       "no private folder for the instance socket (%1): this start runs "
                       "without looking for one already running")
                       .arg(why);
    } else {
        name_ = folder + QLatin1Char('/') + key + QStringLiteral(".socket");
        lock_ = ::open(QFile::encodeName(folder + QLatin1Char('/') + key + QStringLiteral(".lock"))
                           .constData(),
                       O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    }
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
}

SingleInstance::~SingleInstance() {
    server_.close();
    if (lock_ >= 0) ::close(lock_);
}

bool SingleInstance::handOver() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kWaitMs)) return false;
    // Only a process of this user takes the hand-over.
    struct ucred peer {};
    socklen_t size = sizeof peer;
    if (::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                     &size) != 0 ||
        peer.uid != ::getuid())
        return false;
    socket.write(kHandOver);
    if (!socket.waitForBytesWritten(kWaitMs)) return false;
    // Wait until the running instance has processed the hand-over.
    while (socket.bytesAvailable() < kTaken.size())
        if (!socket.waitForReadyRead(kWaitMs)) return false;
    return socket.readAll() == kTaken;
}

SingleInstance::Role SingleInstance::claim() {
    if (name_.isEmpty()) return Role::Primary;
    if (lock_ < 0) {
        if (handOver()) return Role::HandedOver;
        warning_ = QStringLiteral(
                       "cannot open the instance lock in %1: this start runs without "
                       "looking for one already running")
                       .arg(name_.section(QLatin1Char('/'), 0, -2));
        return Role::Primary;
    }
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (::flock(lock_, LOCK_EX | LOCK_NB) == 0) {
            // The one running: a socket left by a run that ended without closing it goes.
            QLocalServer::removeServer(name_);
            return server_.listen(name_) ? Role::Primary : Role::Failed;
        }
        if (handOver()) return Role::HandedOver;
        // The running one has the lock but is not listening yet (it is starting up): again.
        QThread::msleep(100);
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
