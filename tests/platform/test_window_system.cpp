// Which window system the program asks Qt for, and what it says when there is none to reach.
#include <QTest>
#include <map>

#include "platform/window_system.h"

using namespace voltaro::platform;

class TestWindowSystem : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    // Each row: the environment ("NAME=value" pairs), the platform chosen ("-": left to Qt), and
    // the start of the message's first line when the window system cannot be reached.
    void choosesAndExplains_data() {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("why");
        QTest::newRow("X11 session") << QStringList{"DISPLAY=:0"} << "-"
                                     << "the display \":0\" cannot be opened";
        QTest::newRow("Wayland: through XWayland")
            << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:1"} << "xcb"
            << "the display \":1\" cannot be opened";
        QTest::newRow("Wayland by session type")
            << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:1"} << "xcb"
            << "the display";
        QTest::newRow("Wayland without XWayland")
            << QStringList{"WAYLAND_DISPLAY=wayland-0"} << "xcb"
            << "this Wayland session has no XWayland";
        QTest::newRow("the user's own choice stands")
            << QStringList{"WAYLAND_DISPLAY=wayland-0", "QT_QPA_PLATFORM=wayland"} << "-"
            << "the window system \"wayland\" (QT_QPA_PLATFORM) cannot be started";
        QTest::newRow("no session at all") << QStringList{} << "-"
                                           << "there is no graphical session (DISPLAY is not set)";
    }
    void choosesAndExplains() {
        QFETCH(QStringList, environment);
        QFETCH(QString, platform);
        QFETCH(QString, why);
        std::map<std::string, std::string> values;
        for (const auto& pair : environment)
            values[pair.section('=', 0, 0).toStdString()] = pair.section('=', 1).toStdString();
        const Environment env = [&values](const char* name) {
            const auto found = values.find(name);
            return found == values.end() ? std::string() : found->second;
        };
        QCOMPARE(QString::fromStdString(platformFor(env).value_or("-")), platform);
        // What the program then finds: the platform chosen for it.
        if (platform != "-") values["QT_QPA_PLATFORM"] = platform.toStdString();
        const auto message =
            QString::fromStdString(noWindowSystemMessage(env, "/opt/v/bin/voltaro"));
        QVERIFY2(message.startsWith("Voltaro cannot show its window: " + why), qPrintable(message));
        QVERIFY(message.contains("xvfb-run -a /opt/v/bin/voltaro\n"));
        QVERIFY(message.endsWith("use voltaro-cli: /opt/v/bin/voltaro-cli --help\n"));
    }
};

QTEST_GUILESS_MAIN(TestWindowSystem)
#include "test_window_system.moc"
