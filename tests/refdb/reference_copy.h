// A private copy of the shipped Voltaro.dat in a temporary folder, and the connect text that opens
// it, recovered through Zephlib as the program does.
#pragma once

#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <string>

#include "platform/zephlib_binding.h"
#include "refdb/database.h"
#include "refdb/password.h"

struct ReferenceCopy {
    QTemporaryDir dir;
    std::filesystem::path path;
    std::string connect;

    ReferenceCopy() {
        path = std::filesystem::path(dir.path().toStdString()) / "Voltaro.dat";
        std::filesystem::copy_file(std::filesystem::path(VOLTARO_TEST_APP_DIR) / "Voltaro.dat", path);
        auto zephlib = voltaro::platform::ZephlibBinding::inFolder(VOLTARO_TEST_APP_DIR);
        const auto password = voltaro::refdb::recoverPassword(zephlib);
        if (password) connect = voltaro::refdb::connectText(*password);
    }

    voltaro::refdb::Database open() const {
        auto db = voltaro::refdb::Database::open(path, connect);
        if (!db) qFatal("cannot open the reference copy: %s", db.error().description.c_str());
        return db.take();
    }
};
