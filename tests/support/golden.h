// Golden files: the results logs the calculators must write, kept under tests/golden/ and compared
// byte for byte. The folder is -text in its .gitattributes, so their CR LF line ends survive any
// checkout.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <filesystem>

namespace voltaro::testing {

// The file's bytes; empty when it cannot be read.
inline QByteArray fileBytes(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The bytes of tests/golden/<name>. A golden file that cannot be read stops the test at once: an
// empty expectation must never pass for an empty log.
inline QByteArray golden(const char* name) {
    const auto path = std::filesystem::path(VOLTARO_TEST_SOURCE_DIR) / "tests/golden" / name;
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
        qFatal("cannot read the golden file %s", path.c_str());
    return file.readAll();
}

}  // namespace voltaro::testing
