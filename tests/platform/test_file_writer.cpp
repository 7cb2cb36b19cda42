// The file writer's promise: the target ends up with all of the new bytes or exactly as it was,
// whatever step fails and whatever was planted where the temporary goes; what is not a regular
// file, and a protected file, is refused before anything is written. What a user meets through
// voltaro-cli (planted PATH.new, folders, fifos and devices as --log, a file-size limit, the
// reference database, twenty writers at once) is tried end to end in tests/cli/test_files.cpp.
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "platform/file_writer.h"
#include "tests/support/planted_files.h"

using namespace voltaro::platform;
namespace fs = std::filesystem;
using namespace voltaro::testing;

namespace {

// A log with old contents (mode 0640, which a replacement keeps), links to it and to a folder, a
// file standing in for the reference database, and a victim a planted link points at.
struct Folder {
    QTemporaryDir dir;
    fs::path path() const { return dir.path().toStdString(); }
    fs::path operator/(const std::string& name) const { return path() / name; }
    Folder() {
        std::ofstream(*this / "x.log") << "old log";
        fs::permissions(*this / "x.log", static_cast<fs::perms>(0640));
        std::ofstream(*this / "Voltaro.dat") << "reference data";
        fs::create_directory(*this / "sub");
        std::ofstream(*this / "sub/victim") << "precious";
        fs::create_symlink("x.log", *this / "link to log");
        fs::create_symlink("sub", *this / "link to folder");
    }
    WriteOptions guarded() const {
        return {{{*this / "Voltaro.dat", "the reference database"}}, {}};
    }
};

}  // namespace

class TestFileWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void allNewOrAsItWas_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("planted");    // made before the write (see plant())
        QTest::addColumn<QString>("plantedAt");  // a name, or "picked": the writer's temporary
        QTest::addColumn<int>("failingStep");    // a WriteStep made to fail, or -1
        QTest::addColumn<QString>("lands");      // where the bytes go, or (with blanks) the reason
        auto row = [](const char* name, const char* target, const char* planted,
                      const char* plantedAt, int step, const char* lands) {
            QTest::newRow(name) << target << planted << plantedAt << step << lands;
        };
        row("new file", "new.log", "", "", -1, "new.log");
        row("replaced, mode kept", "x.log", "", "", -1, "x.log");
        row("link: written through", "link to log", "", "", -1, "x.log");
        row("new, through a linked folder", "link to folder/new.log", "", "", -1, "sub/new.log");
        row("folder not synced: still done", "x.log", "", "", int(WriteStep::SyncFolder), "x.log");
        const char* steps[] = {"checking", "creating", "writing", "syncing", "replacing"};
        for (int step = 0; step <= int(WriteStep::Replace); ++step)
            for (const char* target : {"x.log", "link to log", "new.log"})
                // clang-format off
                QTest::addRow("%s fails, %s", steps[step], target)
                    << target << ""
                    << "" << step << "No space left on device";
        // clang-format on
        row("link at the name picked", "x.log", "link", "picked", -1, "x.log");
        row("folder at the name picked", "x.log", "folder", "picked", -1, "x.log");
        row("link to a folder", "link to folder", "", "", -1, "Is a directory");
        row("link to a fifo", "f", "link to a fifo", "f", -1, "it is a fifo, not a file");
        row("socket", "s", "socket", "s", -1, "it is a socket, not a file");
        row("dangling link", "l", "dangling link", "l", -1,
            "it is a link to a file that does not exist");
        row("hard link to it", "h", "hard link to the data", "h", -1,
            "it is the reference database");
        row("file we may not write", "x.log", "read-only", "x.log", -1, "Permission denied");
    }
    void allNewOrAsItWas() {
        QFETCH(QString, target);
        QFETCH(QString, planted);
        QFETCH(QString, plantedAt);
        QFETCH(int, failingStep);
        QFETCH(QString, lands);
        Folder folder;
        fs::path plantedPath = folder / plantedAt.toStdString();
        if (plantedAt != "picked" && !plantedAt.isEmpty() &&
            !plant(planted.toStdString(), plantedPath, folder / "Voltaro.dat",
                   folder / "sub/victim"))
            QSKIP("this user cannot make that");
        const auto before = folderSnapshot(folder.path());
        const fs::path landing = folder / lands.toStdString();
        const bool existed = fs::exists(landing);
        const auto oldMode = fs::status(landing).permissions();

        std::vector<WriteStep> reached;
        auto options = folder.guarded();
        options.fault = [&](WriteStep step, const fs::path& temporary) -> std::optional<int> {
            reached.push_back(step);
            if (plantedAt == "picked" && step == WriteStep::CreateTemporary && reached.size() == 2)
                plant(planted.toStdString(), plantedPath = temporary, folder / "Voltaro.dat",
                      folder / "sub/victim");
            return int(step) == failingStep ? std::optional<int>(ENOSPC) : std::nullopt;
        };
        const auto path = folder / target.toStdString();
        const auto error = writeFileInPlace(path, "new log", options);

        auto after = folderSnapshot(folder.path());
        if (plantedAt == "picked") {  // still there: not ours to remove
            QVERIFY(fs::is_symlink(plantedPath) || fs::is_directory(plantedPath));
            fs::remove_all(plantedPath);
            after = folderSnapshot(folder.path());
        }
        auto expected = before;
        if (!lands.contains(' ')) {  // a file name: success
            QVERIFY2(!error, error ? error->message.c_str() : "");
            QCOMPARE(fileBytes(landing), QByteArray("new log"));
            const mode_t umask = ::umask(0);
            ::umask(umask);
            QCOMPARE(fs::status(landing).permissions(),
                     existed ? oldMode : static_cast<fs::perms>(0644 & ~umask));
            expected.erase(lands.toStdString());
            after.erase(lands.toStdString());
        } else {
            QVERIFY(error);
            QCOMPARE(error->message, "cannot write " + path.string() + ": " + lands.toStdString());
            if (failingStep >= 0) QCOMPARE(int(reached.back()), failingStep);  // nothing ran after
            if (failingStep < 0)  // refused before anything was written
                QCOMPARE(reached, std::vector<WriteStep>{WriteStep::CheckTarget});
        }
        QCOMPARE(after, expected);  // no temporary left, links stay links, the victim untouched
    }
};

QTEST_APPLESS_MAIN(TestFileWriter)
#include "test_file_writer.moc"
