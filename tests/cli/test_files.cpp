// voltaro-cli as a hostile but fair user tries it, on a private copy of the application folder:
// links, folders, fifos and devices as or beside --log, a file-size limit, twenty calls logging to
// one file at once, the reference database as --log, an output that cannot be written, an empty
// or damaged database, and a folder it may not write.
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>

#include <QtTest>
#include <atomic>
#include <fstream>
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
    CliRun cli(const QStringList& args, const std::function<void(QProcess&)>& prepare = {}) {
        return runCli(QStringList{"--app-dir", dir_->path()} + args, prepare);
    }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        for (const char* file : {"Voltaro.dat", "Zephlib.so"})
            fs::copy_file(appDir() / file, app() / file);
        std::ofstream(app() / "x.log") << "an earlier result\r\n";
        std::ofstream(app() / "victim") << "root's own file";
        fs::permissions(app() / "victim", fs::perms::owner_read | fs::perms::owner_write);
    }
    void cleanup() {
        fs::permissions(app(), fs::perms::owner_all);
        dir_.reset();
    }

    // Faults 1, 2, 3, 5, 6 and 7 of a hostile but fair user, each on a fresh copy: what is set up
    // first, the call, and what it must answer; "APP" stands for the copy's folder, and an
    // expected stderr ending in "..." is its beginning. Whatever the outcome, everything in the
    // folder stays as it was (the victim a planted link points at, the database, what was
    // planted), but for x.log, which holds the whole new log when the call succeeds.
    void hostileButFair_data() {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        const auto log = [](const char* name) { return kGround + QStringList{"--log", name}; };
        const QString denied = "voltaro-cli: cannot write APP/";
        // clang-format off
        QTest::newRow("link planted at x.log.new")
            << "link x.log.new" << log("APP/x.log") << 0 << "";
        QTest::newRow("folder at x.log.new") << "folder x.log.new" << log("APP/x.log") << 0 << "";
        QTest::newRow("empty folder")
            << "folder d" << log("APP/d") << 1 << denied + "d: Is a directory\n";
        QTest::newRow("fifo") << "fifo f" << log("APP/f") << 1
                              << denied + "f: it is a fifo, not a file\n";
        QTest::newRow("device") << "device full" << log("APP/full") << 1
                                << denied + "full: it is a device, not a file\n";
        QTest::newRow("file size limit")
            << "limit" << log("APP/x.log") << 1 << denied + "x.log: File too large\n";
        QTest::newRow("the reference database")
            << "" << log("APP/Voltaro.dat") << 1
            << denied + "Voltaro.dat: it is the reference database\n";
        QTest::newRow("a link to it") << "link-to-the-data l" << log("APP/l") << 1
                                      << denied + "l: it is the reference database\n";
        // clang-format on
        const QString lost =
            "voltaro-cli: cannot write the standard output: No space left on device\n";
        // clang-format off
        QTest::newRow("lost output: tables") << "full output" << QStringList{"tables"} << 1 << lost;
        QTest::newRow("lost output: ground") << "full output" << kGround << 1 << lost;
        // clang-format on
        const QString refused = "voltaro-cli: cannot open APP/Voltaro.dat: ";
        const QString empty = refused +
                              "not the reference database (an empty or foreign file): "
                              "missing tables Copper, Aluminum, Correc1, ...";
        // clang-format off
        QTest::newRow("zero-byte database: tables")
            << "empty" << QStringList{"tables"} << 1 << empty;
        QTest::newRow("zero-byte database: starter")
            << "empty" << QStringList{"starter", "--amps", "20", "--volts", "480"} << 1 << empty;
        QTest::newRow("no FootNotes: ground")
            << "DROP TABLE FootNotes" << kGround << 1
            << refused + "the reference database is damaged: missing table FootNotes (error 11)\n";
        // clang-format on
    }
    void hostileButFair() {
        QFETCH(QString, setUp);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, err);
        const auto data = app() / "Voltaro.dat";
        const auto what = setUp.section(' ', 0, 0).replace('-', ' ').toStdString();
        if (!plant(what, app() / setUp.section(' ', 1).toStdString(), data, app() / "victim"))
            QSKIP("this user cannot make that");
        if (setUp == "empty") fs::resize_file(data, 0);
        if (setUp.startsWith("DROP"))
            QVERIFY(
                !voltaro::refdb::Database::open(data, password())->execute(setUp.toStdString()));
        for (auto& arg : args) arg.replace("APP", dir_->path());
        auto before = folderSnapshot(app());

        const auto run = cli(args, [&](QProcess& p) {
            if (setUp == "full output") p.setStandardOutputFile("/dev/full");
            if (setUp == "limit")
                p.setChildProcessModifier([] {
                    rlimit limit{};
                    ::getrlimit(RLIMIT_FSIZE, &limit);
                    limit.rlim_cur = 0;
                    ::setrlimit(RLIMIT_FSIZE, &limit);
                });
        });

        QCOMPARE(run.status, status);
        err.replace("APP", dir_->path());
        if (err.endsWith("..."))
            QVERIFY2(run.err.startsWith(err.chopped(3)), qPrintable(run.err));
        else
            QCOMPARE(run.err, err);
        auto after = folderSnapshot(app());
        if (status == 0) {
            QCOMPARE(fileBytes(app() / "x.log"), golden(kGroundLog));
            before.erase("x.log");
            after.erase("x.log");
        }
        QCOMPARE(after, before);
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
                                        QStringList{"--log", QString::fromStdString(log)});
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

    // An installed copy: a folder the user may not write (as root, the calls run as nobody).
    void readOnlyFolderAnswersEveryCalculator_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("firstLine");
        const std::pair<const char*, const char*> rows[] = {
            {"tables", "Copper"},
            {"dump FuseSize", "Fuse"},
            {"wire --amps 40 --material Copper --insulation THHN --conductors 6 --ambient 40",
             "8  (THHN)"},
            {"ground --amps 801 --material Aluminum", "4/0 Ground"},
            {"conduit --wire \"10 - THHN\" --wire \"10 - THHN\"", "1/2 in.  EMT"},
            {"enclosure --id 7", "NEMA 4X Enclosure"},
            {"transformer --mode amps --phase three --input 75 --volts 480",
             "90.21 Full Load Amps"},
            {"starter --amps 20 --volts 480", "Use Size 2 Starter"}};
        for (const auto& [command, firstLine] : rows)
            QTest::newRow(command) << QString(command) << QString(firstLine);
    }
    void readOnlyFolderAnswersEveryCalculator() {
        QFETCH(QString, command);
        QFETCH(QString, firstLine);
        fs::permissions(app(), static_cast<fs::perms>(0555));
        const auto before = folderSnapshot(app());
        const passwd* nobody = ::getpwnam("nobody");
        QVERIFY(nobody != nullptr);
        const auto run = cli(QProcess::splitCommand(command), [&](QProcess& p) {
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
