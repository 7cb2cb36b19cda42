// The six options in the user's settings, and the log-on start entry.
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <sstream>

#include "shell/options_store.h"
#include "tests/support/golden.h"

using namespace voltaro::shell;

class TestOptionsStore : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::filesystem::path ini_, autostart_;

    OptionsStore store() const { return OptionsStore(ini_, autostart_); }
    void write(const QString& key, const QVariant& value) const {
        QSettings settings(QString::fromStdString(ini_.string()), QSettings::IniFormat);
        settings.setValue(key, value);
    }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        ini_ = std::filesystem::path(dir_->path().toStdString()) / "Voltaro" / "Voltaro.ini";
        autostart_ = std::filesystem::path(dir_->path().toStdString()) / "autostart";
    }
    void cleanup() { dir_.reset(); }

    void missingKeysReadOn() {
        SharedState state;
        store().LoadOptions(state, false);
        for (const bool on : state.OptionFlags) QVERIFY(on);
        QCOMPARE(state.OptionKeys[kAutoMin], std::string("Auto Min"));
        QCOMPARE(state.OptionKeys[kTerminalAuto], std::string("Terminal Auto"));
    }

    void onlyExactlyOnIsOn_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("on");
        // clang-format off
        QTest::newRow("On") << "On" << true;
        QTest::newRow("on") << "on" << false;
        QTest::newRow("ON") << "ON" << false;
        QTest::newRow("Off") << "Off" << false;
        QTest::newRow("On with blank") << "On " << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("1") << "1" << false;
        // clang-format on
    }
    void onlyExactlyOnIsOn() {
        QFETCH(QString, stored);
        QFETCH(bool, on);
        write(QStringLiteral("QXoptions/Auto Print"), stored);
        SharedState state;
        store().LoadOptions(state, false);
        QCOMPARE(state.OptionFlags[kAutoPrint], on);
        QVERIFY(state.OptionFlags[kButtonSounds]);  // the others still missing: on
    }

    void namesOnlyLeavesFlags() {
        SharedState state;
        state.OptionFlags.fill(false);
        store().LoadOptions(state, true);
        for (const bool on : state.OptionFlags) QVERIFY(!on);
        QCOMPARE(state.OptionKeys[kButtonSounds], std::string("Button Sounds"));
    }

    void firstStartDefaults() {
        QVERIFY(store().isFirstStart());
        // A log-on entry left from before is removed by the defaults.
        QVERIFY(!store().SetRunEntry("Voltaro", "/opt/voltaro/Voltaro", "min"));
        SharedState state;
        store().WriteDefaultOptions(state);
        QVERIFY(!store().isFirstStart());
        QVERIFY(!std::filesystem::exists(store().runEntryPath("Voltaro")));
        store().LoadOptions(state, false);
        const std::array<bool, kOptionCount> expected = {true, true, false, false, false, true};
        QCOMPARE(state.OptionFlags, expected);
        QSettings settings(QString::fromStdString(ini_.string()), QSettings::IniFormat);
        QCOMPARE(settings.value("QXoptions/Auto Start").toString(), QStringLiteral("Off"));
        QCOMPARE(settings.value("QXoptions/Slide Sounds").toString(), QStringLiteral("On"));
    }

    void writesTheOptions() {
        SharedState state;
        store().LoadOptions(state, true);
        std::array<bool, kOptionCount> on{};
        QVERIFY(!store().writeOptions(state, on));
        store().LoadOptions(state, false);
        QVERIFY(!state.OptionFlags[kAutoMin]);
        on[kAutoMin] = true;
        QVERIFY(!store().writeOptions(state, on));
        store().LoadOptions(state, false);
        QCOMPARE(state.OptionFlags, on);
    }

    void runEntryStartsMinimised() {
        // A percent sign would start a field code: it is doubled.
        QVERIFY(!store().SetRunEntry("Voltaro", "/opt/100%/Voltaro", "min"));
        QVERIFY(voltaro::testing::fileBytes(store().runEntryPath("Voltaro"))
                    .contains("\nExec=\"/opt/100%%/Voltaro\" min\n"));
        // A link planted where a careless writer puts its temporary is not followed.
        const auto victim = autostart_ / "victim";
        std::filesystem::create_directories(autostart_);
        std::ofstream(victim) << "precious";
        std::filesystem::create_symlink(victim, store().runEntryPath("Voltaro").string() + ".new");
        QVERIFY(!store().SetRunEntry("Voltaro", "/home/sam/my apps/$x/Voltaro", "min"));
        std::string kept;
        std::getline(std::ifstream(victim) >> std::noskipws, kept);
        QCOMPARE(kept, std::string("precious"));
        std::ifstream in(store().runEntryPath("Voltaro"));
        std::stringstream text;
        text << in.rdbuf();
        QVERIFY(text.str().find("[Desktop Entry]\n") == 0);
        QVERIFY(text.str().find("\nExec=\"/home/sam/my apps/\\\\$x/Voltaro\" min\n") !=
                std::string::npos);
        QVERIFY(text.str().find("\nType=Application\n") != std::string::npos);
        QVERIFY(!store().DeleteRunEntry("Voltaro"));
        QVERIFY(!std::filesystem::exists(store().runEntryPath("Voltaro")));
        QVERIFY(!store().DeleteRunEntry("Voltaro"));  // deleting what is not there is fine
    }
};

QTEST_GUILESS_MAIN(TestOptionsStore)
#include "test_options_store.moc"
