// Runs the built voltaro-cli as a script runs it and collects what it says.
#pragma once

#include <QProcess>
#include <QStringList>

#include <functional>

namespace voltaro::testing {

struct CliRun {
    int status = -1;  // the exit status; -1 when it crashed or did not end within a minute
    QString out;
    QString err;
};

// `prepare` may set up the process before it starts: where its output goes, or what its child
// does before running voltaro-cli (a file-size limit, another user).
inline CliRun runCli(const QStringList& args, const std::function<void(QProcess&)>& prepare = {}) {
    QProcess process;
    if (prepare) prepare(process);
    process.start(QStringLiteral(VOLTARO_TEST_APP_DIR "/voltaro-cli"), args);
    process.closeWriteChannel();
    CliRun run;
    if (!process.waitForFinished(60000)) return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

}  // namespace voltaro::testing
