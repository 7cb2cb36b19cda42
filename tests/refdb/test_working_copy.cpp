// The user's working copy of an installed Voltaro.dat: made when missing, kept while it carries the
// shipped file's stamp, made again when it does not or cannot be used; and the stamp itself
// follows the sources the build makes the file from.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "refdb/working_copy.h"
#include "tests/support/core_fixture.h"
#include "tests/support/golden.h"

using namespace voltaro;
using namespace voltaro::refdb;
namespace fs = std::filesystem;

class TestWorkingCopy : public QObject {
    Q_OBJECT

    const fs::path shipped_ = testing::appDir() / "Voltaro.dat";
    std::unique_ptr<QTemporaryDir> dir_;
    fs::path copy_;

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        copy_ = fs::path(dir_->path().toStdString()) / "Voltaro.dat";
    }
    void cleanup() { dir_.reset(); }

    void bringsTheCopyUpToDate_data() {
        QTest::addColumn<QString>("before");  // the working copy before the start
        QTest::addColumn<bool>("kept");  // its rows survive (else it is the shipped file again)
        // clang-format off
        QTest::newRow("none yet") << "none" << false;
        QTest::newRow("current, with rows of a run") << "current" << true;
        QTest::newRow("another stamp: an upgrade") << "other stamp" << false;
        QTest::newRow("zero bytes") << "empty" << false;
        QTest::newRow("not a database") << "garbage" << false;
        QTest::newRow("a table lost") << "no FootNotes" << false;
        // clang-format on
    }
    void bringsTheCopyUpToDate() {
        QFETCH(QString, before);
        QFETCH(bool, kept);
        const auto password = testing::password();
        if (before == "empty" || before == "garbage")
            std::ofstream(copy_) << (before == "garbage" ? "not a database at all" : "");
        if (before == "current" || before == "other stamp" || before == "no FootNotes") {
            fs::copy_file(shipped_, copy_);
            auto db = Database::open(copy_, password);
            QVERIFY(!db->execute("INSERT INTO Scratch VALUES ('left by a run')"));
            if (before == "other stamp") QVERIFY(!db->execute("PRAGMA user_version = 7"));
            if (before == "no FootNotes") QVERIFY(!db->execute("DROP TABLE FootNotes"));
        }
        const auto shippedBytes = testing::fileBytes(shipped_);

        auto db = openWorkingCopy(shipped_, copy_, password);
        QVERIFY2(db.ok(), db.ok() ? "" : db.error().description.c_str());
        auto shippedDb = Database::open(shipped_, password, Database::Access::ReadOnly);
        QCOMPARE(*dataStamp(*db), *dataStamp(*shippedDb));
        QCOMPARE(db->openRecordset("SELECT * FROM Scratch")->recordCount(), kept ? 1 : 0);
        QCOMPARE(db->openRecordset("SELECT * FROM FootNotes")->recordCount(), 12);
        QCOMPARE(testing::fileBytes(shipped_), shippedBytes);
        // Written beside and renamed: nothing else is left in the folder.
        QCOMPARE(
            QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{"Voltaro.dat"});
    }

    void failuresNameTheFile() {
        const fs::path folder = dir_->path().toStdString();
        std::ofstream(folder / "file") << "in the way";
        auto noShipped = openWorkingCopy(folder / "missing.dat", copy_, testing::password());
        QVERIFY(!noShipped.ok());
        QVERIFY(noShipped.error().description.starts_with("cannot open " +
                                                          (folder / "missing.dat").string()));
        auto blocked =
            openWorkingCopy(shipped_, folder / "file" / "Voltaro.dat", testing::password());
        QVERIFY(!blocked.ok());
        QCOMPARE(
            blocked.error().description,
            "cannot write " + (folder / "file" / "Voltaro.dat").string() + ": Not a directory");
        QVERIFY(!fs::exists(copy_));
    }

    // The build's stamp is a fingerprint of the schema and the tables: the same sources give the
    // shipped file's stamp again, one changed cell gives another.
    void theStampFollowsTheSources() {
        const QString source = QStringLiteral(VOLTARO_TEST_SOURCE_DIR "/refdb");
        const QDir data(dir_->filePath("data"));
        QVERIFY(QDir().mkpath(data.path()));
        for (const auto& file : QDir(source + "/data").entryList({"*.csv"}, QDir::Files))
            QVERIFY(QFile::copy(source + "/data/" + file, data.filePath(file)));
        auto stampOf = [&](const QString& name) -> long long {
            QProcess build;
            build.start(QStringLiteral(VOLTARO_TEST_APP_DIR "/tools/build_refdb"),
                        {source + "/schema.sql", data.path(),
                         QStringLiteral(VOLTARO_TEST_APP_DIR "/Zephlib.so"), dir_->filePath(name)});
            if (!build.waitForFinished(60000) || build.exitCode() != 0) return -1;
            auto db = Database::open(dir_->filePath(name).toStdString(), testing::password());
            return db ? *dataStamp(*db) : -1;
        };
        auto shipped = Database::open(shipped_, testing::password(), Database::Access::ReadOnly);
        QCOMPARE(stampOf("same.dat"), *dataStamp(*shipped));

        QFile fuses(data.filePath("FuseSize.csv"));
        QVERIFY(fuses.open(QIODevice::ReadWrite));
        QByteArray text = fuses.readAll();
        QVERIFY(text.contains("\n6000"));
        text.replace("\n6000", "\n6001");
        QVERIFY(fuses.seek(0) && fuses.write(text) == text.size());
        fuses.close();
        const auto changed = stampOf("changed.dat");
        QVERIFY(changed > 0);
        QVERIFY(changed != *dataStamp(*shipped));
    }
};

QTEST_GUILESS_MAIN(TestWorkingCopy)
#include "test_working_copy.moc"
