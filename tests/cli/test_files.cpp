// voltaro-cli as a hostile but fair user tries it, on a private copy of the application folder:
// links, folders, fifos and devices as or beside --log, a file-size limit, twenty calls logging to
// one file at once, the reference database as --log, an output that cannot be written, an empty
// or damaged database, and a folder it may not write.
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>

#include <QtTest>
#include <atomic>
#include <thread>

#include "tests/support/cli_runner.h"
#include "tests/support/core_fixture.h"
#include "tests/support/planted_files.h"

using namespace voltaro::testing;
namespace fs = std::filesystem;

namespace {

// Ground and fuse for 801 A aluminum: its log is the golden file below.
const QStringList kGround{"ground", "--amps", "801", "--material", "Aluminum"};
const char kGroundLog[] = "ground-801a-aluminum.log";

}  // namespace

class TestCliFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    fs::path app() const { return dir_->path().toStdString(); }
    QString at(const std::string& name) const { return QString::fromStdString(app() / name); }
    CliRun cli(const QStringList& args, const std::function<void(QProcess&)>& prepare = {}) {
        return runCli(QStringList{"--app-dir", dir_->path()} + args, prepare);
    }

  private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        for (const char* file : {"Voltaro.dat", "Zephlib.so"})
            fs::copy_file(appDir() / file, app() / file);
        QFile log(at("x.log"));
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write("an earlier result\r\n");
        QFile victim(at("victim"));
        QVERIFY(victim.open(QIODevice::WriteOnly));
        victim.write("root's own file");
        victim.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    void cleanup() {
        fs::permissions(app(), fs::perms::owner_all);
        dir_.reset();
    }

    // A planted link is not followed; a failed write deletes nothing; a folder, fifo or device is
    // not replaced; the reference database is never the log; a file-size limit loses nothing.
    void logIsAllNewOrAsItWas_data() {
        QTest::addColumn<QString>("planted");  // made at --log's name before the call
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("reason");  // why --log is refused; empty: the log is written
        QTest::newRow("link planted at x.log.new") << "link"
                                                   << "x.log"
                                                   << "";
        QTest::newRow("folder at x.log.new") << "folder"
                                             << "x.log"
                                             << "";
        QTest::newRow("empty folder") << "folder"
                                      << "d"
                                      << "Is a directory";
        QTest::newRow("fifo") << "fifo"
                              << "f"
                              << "it is a fifo, not a file";
        QTest::newRow("device") << "device"
                                << "full"
                                << "it is a device, not a file";
        QTest::newRow("file size limit") << "limit"
                                         << "x.log"
                                         << "File too large";
        QTest::newRow("the reference database") << ""
                                                << "Voltaro.dat"
                                                << "it is the reference database";
        QTest::newRow("a link to it") << "link to the data"
                                      << "l"
                                      << "it is the reference database";
    }
    void logIsAllNewOrAsItWas() {
        QFETCH(QString, planted);
        QFETCH(QString, log);
        QFETCH(QString, reason);
        const auto path = app() / log.toStdString();
        const auto plantAt = reason.isEmpty() ? fs::path(path.string() + ".new") : path;
        if (!plant(planted.toStdString(), plantAt, app() / "Voltaro.dat", app() / "victim"))
            QSKIP("this user cannot make that");
        auto before = folderSnapshot(app());
        const auto run =
            cli(kGround + QStringList{"--log", at(log.toStdString())}, [&](QProcess& p) {
                if (planted == "limit")
                    p.setChildProcessModifier([] {
                        rlimit limit{};
                        ::getrlimit(RLIMIT_FSIZE, &limit);
                        limit.rlim_cur = 0;
                        ::setrlimit(RLIMIT_FSIZE, &limit);
                    });
            });
        auto after = folderSnapshot(app());
        if (reason.isEmpty()) {
            QCOMPARE(run.status, 0);
            QCOMPARE(fileBytes(path), golden(kGroundLog));
            before.erase("x.log");
            after.erase("x.log");
        } else {
            QCOMPARE(run.status, 1);
            QCOMPARE(run.out, QString());
            QCOMPARE(run.err, "voltaro-cli: cannot write " + QString::fromStdString(path) + ": " +
                                  reason + "\n");
        }
        QCOMPARE(after, before);  // the victim, the database, the planted thing: all as they were
    }

    // Twenty calls log to one file at once, five times over: none fails, the log is always there
    // (a watcher looks all the time), it is whole, and no temporary is left behind.
    void concurrentCallsLastOneWins() {
        const auto log = app() / "x.log";
        const auto entries = folderSnapshot(app()).size();
        for (int round = 0; round < 5; ++round) {
            std::atomic<bool> running{true};
            std::atomic<int> vanished{0};
            std::thread watcher([&] {
                while (running)
                    if (::access(log.c_str(), F_OK) != 0) ++vanished;
            });
            std::vector<std::unique_ptr<QProcess>> calls;
            for (int i = 0; i < 20; ++i) {
                calls.push_back(std::make_unique<QProcess>());
                calls.back()->start(QStringLiteral(VOLTARO_TEST_APP_DIR "/voltaro-cli"),
                                    QStringList{"--app-dir", dir_->path()} + kGround +
                                        QStringList{"--log", at("x.log")});
            }
            int failed = 0;
            for (auto& call : calls)
                failed += !call->waitForFinished(60000) || call->exitCode() != 0;
            running = false;
            watcher.join();
            QCOMPARE(failed, 0);
            QCOMPARE(vanished.load(), 0);
            QCOMPARE(fileBytes(log), golden(kGroundLog));
            QCOMPARE(folderSnapshot(app()).size(), entries);
        }
    }

    void lostOutputIsAFailure_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("tables") << QStringList{"tables"};
        QTest::newRow("ground") << kGround;
    }
    void lostOutputIsAFailure() {
        QFETCH(QStringList, args);
        const auto run = cli(args, [](QProcess& p) { p.setStandardOutputFile("/dev/full"); });
        QCOMPARE(run.status, 1);
        QCOMPARE(
            run.err,
            QString("voltaro-cli: cannot write the standard output: No space left on device\n"));
    }

    // Refused with what is missing named, and never written.
    void notTheReferenceDatabase_data() {
        QTest::addColumn<QString>("change");  // "empty", or SQL run on the copy first
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");
        const QString none =
            "not the reference database (an empty or foreign file): missing tables";
        QTest::newRow("zero bytes: tables") << "empty" << QStringList{"tables"} << none;
        QTest::newRow("zero bytes: starter")
            << "empty" << QStringList{"starter", "--amps", "20", "--volts", "480"} << none;
        QTest::newRow("no FootNotes: ground")
            << "DROP TABLE FootNotes" << kGround << "damaged: missing table FootNotes (error 11)";
    }
    void notTheReferenceDatabase() {
        QFETCH(QString, change);
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        const auto data = app() / "Voltaro.dat";
        if (change == "empty")
            fs::resize_file(data, 0);
        else
            QVERIFY(
                !voltaro::refdb::Database::open(data, password())->execute(change.toStdString()));
        const auto before = fileBytes(data);
        const auto run = cli(args);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.err.startsWith("voltaro-cli: cannot open " + QString::fromStdString(data)) &&
                     run.err.contains(named),
                 qPrintable(run.err));
        QCOMPARE(fileBytes(data), before);
    }

    // An installed copy: a folder the user may not write (as root, the calls run as nobody).
    void readOnlyFolderAnswersEveryCalculator_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("tables") << QStringList{"tables"} << "Copper";
        QTest::newRow("dump") << QStringList{"dump", "FuseSize"} << "Fuse";
        QTest::newRow("wire") << QStringList{"wire",   "--amps",       "40",   "--material",
                                             "Copper", "--insulation", "THHN", "--conductors",
                                             "6",      "--ambient",    "40"}
                              << "8  (THHN)";
        QTest::newRow("ground") << kGround << "4/0 Ground";
        QTest::newRow("conduit") << QStringList{"conduit", "--wire", "10 - THHN", "--wire",
                                                "10 - THHN"}
                                 << "1/2 in.  EMT";
        QTest::newRow("enclosure") << QStringList{"enclosure", "--id", "7"} << "NEMA 4X Enclosure";
        QTest::newRow("transformer")
            << QStringList{"transformer", "--mode", "amps",    "--phase", "three",
                           "--input",     "75",     "--volts", "480"}
            << "90.21 Full Load Amps";
        QTest::newRow("starter") << QStringList{"starter", "--amps", "20", "--volts", "480"}
                                 << "Use Size 2 Starter";
    }
    void readOnlyFolderAnswersEveryCalculator() {
        QFETCH(QStringList, args);
        QFETCH(QString, firstLine);
        fs::permissions(app(), static_cast<fs::perms>(0555));
        const auto before = folderSnapshot(app());
        const passwd* nobody = ::getpwnam("nobody");
        QVERIFY(nobody != nullptr);
        const auto run = cli(args, [&](QProcess& p) {
            if (::geteuid() != 0) return;
            p.setChildProcessModifier([uid = nobody->pw_uid, gid = nobody->pw_gid] {
                if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
                    ::_exit(125);
            });
        });
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.section('\n', 0, 0), firstLine);
        QCOMPARE(folderSnapshot(app()), before);
    }
};

QTEST_GUILESS_MAIN(TestCliFiles)
#include "test_files.moc"
