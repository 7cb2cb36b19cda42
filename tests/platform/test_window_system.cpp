// Which window system the program asks Qt for, and what it says when there is none to reach.
#include <QTest>
#include <map>

#include "platform/foreground.h"
#include "platform/window_system.h"

using namespace voltaro::platform;

class TestWindowSystem : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // No window of ours in front reads as another program only after the moment between one of
    // ours going and the next coming (the error window closed by Alt+O, then the panel).
    void foregroundSettlesBetweenOurWindows() {
        std::int64_t now = 0;
        std::uintptr_t active = 0;
        Foreground foreground([&] { return active; }, [&] { return now; });
        QVERIFY(foreground() == 0 && !foreground.everInFront());  // started behind another
        active = 7;
        QCOMPARE(foreground(), std::uintptr_t(7));
        active = 0;
        foreground.leftFront();
        now += Foreground::kSettleMs - 1;
        QCOMPARE(foreground(), std::uintptr_t(7));
        now += 1;
        QCOMPARE(foreground(), std::uintptr_t(0));
    }

    // The environment ("NAME=value"), the platform chosen ("-": left to Qt) and why no window
    // could be shown there (the message's first line, after "Voltaro cannot show its window: ").
    void choosesAndExplains_data() {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("why");
        // clang-format off
        QTest::newRow("X11") << QStringList{"DISPLAY=:0"} << "-"
                             << "the display \":0\" cannot be opened";
        QTest::newRow("Wayland with XWayland")
            << QStringList{"WAYLAND_DISPLAY=w-0", "DISPLAY=:1"} << "xcb"
            << "the display \":1\" cannot be opened";
        QTest::newRow("Wayland by session type, no XWayland")
            << QStringList{"XDG_SESSION_TYPE=wayland"} << "xcb"
            << "this Wayland session has no XWayland";
        QTest::newRow("the user's own choice")
            << QStringList{"WAYLAND_DISPLAY=w-0", "QT_QPA_PLATFORM=wayland"} << "-"
            << "the window system \"wayland\" (QT_QPA_PLATFORM) cannot be started";
        // clang-format on
    }
    void choosesAndExplains() {
        QFETCH(QStringList, environment);
        QFETCH(QString, platform);
        QFETCH(QString, why);
        std::map<std::string, std::string> values;
        for (const auto& pair : environment)
            values[pair.section('=', 0, 0).toStdString()] = pair.section('=', 1).toStdString();
        const Environment env = [&values](const char* name) { return values[name]; };
        QCOMPARE(QString::fromStdString(platformFor(env).value_or("-")), platform);
        if (platform != "-")
            values["QT_QPA_PLATFORM"] = platform.toStdString();  // as Qt then sees it
        const auto message =
            QString::fromStdString(noWindowSystemMessage(env, "/opt/v/bin/voltaro"));
        QVERIFY2(message.startsWith("Voltaro cannot show its window: " + why), qPrintable(message));
        QVERIFY(message.endsWith("use voltaro-cli: /opt/v/bin/voltaro-cli --help\n"));
    }
};

QTEST_GUILESS_MAIN(TestWindowSystem)
#include "test_window_system.moc"
