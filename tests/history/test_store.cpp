// The history file: what it keeps and finds, how it treats a newer, damaged or foreign file, its
// permissions, the recorder off the calling thread, and a writer killed in the middle of entries.
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QtTest>

#include "history/recorder.h"
#include "history/store.h"

using namespace voltaro::history;

namespace {

Entry entry(int n, const std::string& calculator = "Wire Size") {
    const auto text = std::to_string(n);
    return {0,
            1700000000000 + n,
            calculator,
            {{"Full Load Amps", text}, {"Material", "Copper"}},
            {"answer " + text, "De-Rated Amps: " + text},
            "\r\nlog of " + text + "\r\n"};
}

std::unique_ptr<Store> open(const std::filesystem::path& path,
                            Store::Mode mode = Store::Mode::Record) {
    auto store = Store::open(path, mode);
    if (!store) qFatal("cannot open: %s", store.error().message.c_str());
    return std::move(*store);
}

std::vector<std::int64_t> ids(const std::vector<Entry>& entries) {
    std::vector<std::int64_t> out;
    for (const auto& e : entries) out.push_back(e.id);
    return out;
}

}  // namespace

class StoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        path_ = std::filesystem::path(dir_->path().toStdString()) / "Voltaro" / "history.sqlite";
    }
    void keepsFindsAndDeletes();
    void search_data();
    void search();
    void newerFileIsOnlyRead();
    void unusableFileIsSetAside_data();
    void unusableFileIsSetAside();
    void privateFolderAndFile();
    void recorderReportsWhatItCannotKeep();
    void killedWriterLeavesWholeEntries();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::filesystem::path path_;
};

void StoreTest::keepsFindsAndDeletes() {
    auto store = open(path_);
    for (int n = 1; n <= 4; ++n) {
        auto e = entry(n);
        QVERIFY(!store->record(e));
        QCOMPARE(e.id, n);
    }
    // Another connection (voltaro-cli's) sees every committed entry, newest first.
    auto reader = open(path_, Store::Mode::Browse);
    auto all = reader->list({});
    QVERIFY(all);
    QCOMPARE(ids(*all), (std::vector<std::int64_t>{4, 3, 2, 1}));
    QCOMPARE((*all)[0].inputs.size(), std::size_t{2});
    QCOMPARE((*all)[0].inputs[0].value, std::string("4"));
    QCOMPARE((*all)[0].display, entry(4).display);
    QVERIFY((*all)[0].log.empty());  // the list reads no logs
    QCOMPARE(ids(*reader->list({2, {}, false})), (std::vector<std::int64_t>{4, 3}));
    auto found = reader->find(3);
    QVERIFY(found && *found);
    QCOMPARE((*found)->log, entry(3).log);
    QCOMPARE((*found)->recordedMs, entry(3).recordedMs);
    QVERIFY(reader->find(99) && !*reader->find(99));
    // A deleted id is never given again.
    QVERIFY(!store->remove(4));
    auto e = entry(5);
    QVERIFY(!store->record(e));
    QCOMPARE(e.id, 5);
    QVERIFY(!store->clear());
    QCOMPARE(*reader->count(), 0);
}

// clang-format off
void StoreTest::search_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<qint64>>("found");
    QTest::newRow("an input, either case")    << "COPPER"     << QList<qint64>{3, 2, 1};
    QTest::newRow("an answer line")           << "answer 2"   << QList<qint64>{2};
    QTest::newRow("the calculator")           << "starter"    << QList<qint64>{3};
    QTest::newRow("not the log's boilerplate")<< "log of"     << QList<qint64>{};
    QTest::newRow("% is a plain character")   << "100%"       << QList<qint64>{3};
    QTest::newRow("_ is a plain character")   << "a_b"        << QList<qint64>{};
    QTest::newRow("a quote")                  << "it's"       << QList<qint64>{3};
}
// clang-format on

void StoreTest::search() {
    QFETCH(QString, text);
    QFETCH(QList<qint64>, found);
    auto store = open(path_);
    auto e1 = entry(1), e2 = entry(2), e3 = entry(3, "Motor Starter");
    e3.inputs.push_back({"Note", "100% it's axb"});
    for (Entry* e : {&e1, &e2, &e3}) QVERIFY(!store->record(*e));
    auto hits = store->list({-1, text.toStdString(), false});
    QVERIFY(hits);
    const auto got = ids(*hits);
    QCOMPARE(QList<qint64>(got.begin(), got.end()), found);
}

void StoreTest::newerFileIsOnlyRead() {
    {
        auto store = open(path_);
        auto e = entry(1);
        QVERIFY(!store->record(e));
        QCOMPARE(
            sqlite3_exec(store->handle(), "PRAGMA user_version = 7", nullptr, nullptr, nullptr),
            SQLITE_OK);
    }
    auto store = open(path_);
    QVERIFY(store->readOnlyReason().find("newer Voltaro") != std::string::npos);
    QCOMPARE(ids(*store->list({})), (std::vector<std::int64_t>{1}));
    auto e = entry(2);
    QVERIFY(store->record(e));
    QVERIFY(store->remove(1));
    QVERIFY(store->clear());
    QCOMPARE(*store->count(), 1);
}

void StoreTest::unusableFileIsSetAside_data() {
    QTest::addColumn<bool>("sqlite");
    QTest::newRow("not a database") << false;
    QTest::newRow("another program's database") << true;
}

void StoreTest::unusableFileIsSetAside() {
    QFETCH(bool, sqlite);
    std::filesystem::create_directories(path_.parent_path());
    if (sqlite) {
        sqlite3* db = nullptr;
        sqlite3_open(path_.c_str(), &db);
        sqlite3_exec(db, "CREATE TABLE t (x); INSERT INTO t VALUES (1)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    } else {
        QFile garbage(QString::fromStdString(path_.string()));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(8192, 'x'));
    }
    const auto before = QFile(QString::fromStdString(path_.string())).size();
    // Browsing reports it and leaves it alone.
    auto browsed = Store::open(path_, Store::Mode::Browse);
    QVERIFY(!browsed);
    auto store = open(path_);
    QVERIFY2(store->notice().find("a new history was started") != std::string::npos,
             store->notice().c_str());
    auto e = entry(1);
    QVERIFY(!store->record(e));
    const QStringList files = QDir(QString::fromStdString(path_.parent_path().string()))
                                  .entryList({"history damaged *.sqlite"}, QDir::Files);
    QCOMPARE(files.size(), 1);
    QCOMPARE(QFile(QString::fromStdString((path_.parent_path() / files[0].toStdString()).string()))
                 .size(),
             before);
}

// Browsing an absent history makes nothing; recording makes it private to the user.
void StoreTest::privateFolderAndFile() {
    auto browsed = open(path_, Store::Mode::Browse);
    QVERIFY(browsed->list({})->empty());
    QCOMPARE(*browsed->count(), 0);
    QVERIFY(!std::filesystem::exists(path_.parent_path()));
    auto store = open(path_);
    struct stat folder {
    }, file{};
    QCOMPARE(::stat(path_.parent_path().c_str(), &folder), 0);
    QCOMPARE(::stat(path_.c_str(), &file), 0);
    QCOMPARE(folder.st_mode & 0777, 0700u);
    QCOMPARE(file.st_mode & 0777, 0600u);
}

void StoreTest::recorderReportsWhatItCannotKeep() {
    std::vector<std::pair<std::string, bool>> notices;
    std::vector<std::int64_t> kept;
    std::mutex mutex;
    Recorder::Callbacks callbacks{[&](std::int64_t id) {
                                      std::lock_guard lock(mutex);
                                      kept.push_back(id);
                                  },
                                  [&](const std::string& message, bool lost) {
                                      std::lock_guard lock(mutex);
                                      notices.push_back({message, lost});
                                  }};
    {
        Recorder recorder(path_, callbacks);
        for (int n = 1; n <= 3; ++n) recorder.record(entry(n));
    }  // the destructor writes what is queued
    QCOMPARE(kept, (std::vector<std::int64_t>{1, 2, 3}));
    QVERIFY(notices.empty());
    // A history that cannot be made: a file where its folder should be.
    const auto blocked = std::filesystem::path(dir_->path().toStdString()) / "file" / "h.sqlite";
    QFile(QString::fromStdString(blocked.parent_path().string())).open(QIODevice::WriteOnly);
    Recorder recorder(blocked, callbacks);
    recorder.record(entry(4));
    recorder.flush();
    QCOMPARE(notices.size(), std::size_t{1});
    QVERIFY(notices[0].second);
    QVERIFY2(notices[0].first.find(blocked.parent_path().string()) != std::string::npos,
             notices[0].first.c_str());
}

// A child records entries as fast as it can and is killed at a moment that moves from run to run;
// each time the file must open and hold only whole entries.
void StoreTest::killedWriterLeavesWholeEntries() {
    (void)open(path_);  // made before the children, so that none is killed while setting it up
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            auto store = Store::open(path_, Store::Mode::Record);
            if (!store) ::_exit(1);
            for (int n = 1;; ++n) {
                auto e = entry(n, std::string(static_cast<std::size_t>(n % 900), 'w'));
                e.log += std::string(static_cast<std::size_t>(n % 3000), 'L');
                (*store)->record(e);
            }
        }
        // Killed once it has written at least one entry this round, a moment later that moves
        // from round to round.
        const auto written = [&] { return *open(path_, Store::Mode::Browse)->count(); };
        const auto before = written();
        for (int wait = 0; wait < 5000 && written() == before; ++wait) ::usleep(1000);
        ::usleep(static_cast<useconds_t>(797 * round % 4000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    auto store = open(path_, Store::Mode::Browse);
    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(store->handle(), "PRAGMA integrity_check", -1, &check, nullptr);
    QCOMPARE(sqlite3_step(check), SQLITE_ROW);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(check, 0))), "ok");
    sqlite3_finalize(check);
    auto all = store->list({-1, {}, true});
    QVERIFY2(all, all.error().message.c_str());
    QVERIFY(all->size() >= 12);
    for (const auto& e : *all) {
        // Which n the entry was is in its first input; every other field follows from it.
        const int n = std::stoi(e.inputs.at(0).value);
        auto expected = entry(n, std::string(static_cast<std::size_t>(n % 900), 'w'));
        expected.log += std::string(static_cast<std::size_t>(n % 3000), 'L');
        QCOMPARE(e.calculator, expected.calculator);
        QCOMPARE(e.display, expected.display);
        QCOMPARE(e.log, expected.log);
    }
}

QTEST_GUILESS_MAIN(StoreTest)
#include "test_store.moc"
