// One running Voltaro per user. The instance lives in a private folder of the user's: the runtime
// folder ($XDG_RUNTIME_DIR), or when that is unset /tmp/<key>-<uid>, made 0700 (a folder there
// that is not the user's own and private is not used). In it a lock file, held by the running
// instance for as long as it runs (the system lets go of it when the process ends, however it
// ends), says whether one runs, and a local socket takes the hand-over: a later start connects,
// checks that the listener is a process of the same user, hands over (the running one comes to
// the front) and ends without a window. Two starts at the same moment still leave exactly one
// running: one gets the lock, the other hands over to it. No other user can take the name first.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace voltaro::platform {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `key` names the instance group ("voltaro").
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Role { Primary, HandedOver, Failed };

    // Becomes the running instance, or hands over to the one already running (waiting until it
    // has taken the hand-over). Failed: one runs but did not take the hand-over (it hangs). When
    // no private folder can be had the program runs as Primary without the hand-over (warning()
    // says why).
    Role claim();

    // The socket's full path; empty when no private folder could be had.
    QString serverName() const { return name_; }
    // Why this instance runs alone (no private folder); empty otherwise.
    QString warning() const { return warning_; }

    // The private folder for the instance, made when missing; empty (and `why` set) when the
    // runtime folder is unset and /tmp/<key>-<uid> is not the user's own private folder.
    static QString privateFolder(const QString& key, QString* why = nullptr);

Q_SIGNALS:
    // A later start handed over to this instance: come to the front.
    void activationRequested();

private:
    bool handOver();
    void onNewConnection();

    QString name_;
    QString warning_;
    int lock_ = -1;
    QLocalServer server_;
};

}  // namespace voltaro::platform
