// Reading the hand-written results logs under tests/calc/golden/, byte for byte.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace voltaro::testing {

// The bytes of tests/calc/golden/<name>; empty when the file cannot be read.
inline QByteArray goldenLog(const QString& name) {
    QFile file(QStringLiteral(VOLTARO_TEST_SOURCE_DIR "/tests/calc/golden/") + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

}  // namespace voltaro::testing
