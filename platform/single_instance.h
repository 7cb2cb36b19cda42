// One running Voltaro per user. The first process listens on a local socket in the abstract
// namespace (named with the user id, gone with the process, so no stale socket survives a crash);
// a later start connects, hands over (the running one comes to the front) and ends without a
// window. Two starts at the same moment still leave exactly one listener: the one whose listen
// fails connects to the other.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace voltaro::platform {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `key` names the instance group; the user id is added to it.
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);

    enum class Role { Primary, HandedOver, Failed };

    // Becomes the running instance, or hands over to the one already running (waiting until it
    // has taken the hand-over). Failed: neither was possible.
    Role claim();

    QString serverName() const { return name_; }

Q_SIGNALS:
    // A later start handed over to this instance: come to the front.
    void activationRequested();

private:
    bool handOver();
    void onNewConnection();

    QString name_;
    QLocalServer server_;
};

}  // namespace voltaro::platform
