// Runs the built voltaro-cli and collects what it says.
#pragma once

#include <QProcess>
#include <QStringList>

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

inline CliRun runCli(const QStringList& args, const QByteArray& input = {}) {
    QProcess process;
    process.start(QStringLiteral(VOLTARO_TEST_APP_DIR "/voltaro-cli"), args);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    CliRun run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
