// The display check against the screen Qt reports: run with an offscreen screen of a given width
// (VOLTARO_SCREEN_WIDTH), it must accept 800 pixels and refuse 799.
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "shell/frmmain.h"
#include "tests/support/widget_fixture.h"
#include "zephlib/binding/zephlib_binding.h"

using namespace voltaro;

class TestScreenSize : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checksTheScreen() {
        const int width = qEnvironmentVariableIntValue("VOLTARO_SCREEN_WIDTH");
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().width(), width);
        QTemporaryDir dir;
        const std::filesystem::path app = dir.path().toStdString();
        shell::SharedState state;
        platform::ZephlibBinding zephlib(std::filesystem::path(VOLTARO_TEST_APP_DIR) /
                                         "Zephlib.so");
        shell::OptionsStore options(app / "config.ini", app / "autostart");
        shell::FrmMain window(state, zephlib, options, VOLTARO_TEST_APP_DIR, {});
        std::string reason;
        const auto result = window.Form_Load(reason);
        if (width >= 800) {
            QVERIFY(result != shell::FrmMain::LoadResult::DisplayRejected);
        } else {
            QCOMPARE(result, shell::FrmMain::LoadResult::DisplayRejected);
            QVERIFY(!state.RefDb);  // nothing after the check ran
        }
    }
};

VOLTARO_WIDGET_TEST_MAIN(TestScreenSize)
#include "test_screen_size.moc"
