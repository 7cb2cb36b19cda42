// The program's windows on the offscreen platform, for the tests of the panels: a private
// application folder (Zephlib.so, Voltaro.dat and Tonebank.so copied from the build), a fresh
// shared record, the main window loaded, shown and past its first tick, and the key host with
// stub effects (waits only counted, sounds and spins recorded), holding the program's panel table.
// Every calculator's row opens a stand-in panel (the options key the options panel) until a test
// registers the panel it tests. Build one per test function; it takes everything down in the right
// order. Header-only; link voltaro_panels and voltaro_resources (voltaro_add_panel_test); use with
// the widget fixture (widget_fixture.h).
#pragma once

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "app/panels.h"
#include "platform/foreground.h"
#include "platform/surface.h"
#include "shell/door.h"
#include "shell/effects.h"
#include "shell/errwnd.h"
#include "shell/frmmain.h"
#include "shell/image_button.h"
#include "shell/panel_host.h"
#include "tests/support/standin_panel.h"
#include "zephlib/binding/zephlib_binding.h"

namespace voltaro::testing {

// Zephlib for pictures; the waits only count, sounds and spins are only recorded.
struct StubEffects : shell::ZephlibEffects {
    using ZephlibEffects::ZephlibEffects;
    std::int64_t now = 0;
    std::vector<std::int32_t> lags;
    QStringList sounds;  // "name/mode"
    QList<int> spins;
    void Lag(std::int32_t ticks) override {
        lags.push_back(ticks);
        now += ticks;
    }
    std::int64_t counter() override { return now; }
    void P_Sound(const char* name, std::int32_t mode) override {
        sounds << QStringLiteral("%1/%2").arg(QLatin1String(name)).arg(mode);
    }
    void SpnFrm(platform::Surface& target, const platform::Surface& background, std::int32_t width,
                std::int32_t height, std::int32_t direction) override {
        spins << direction;
        platform::blockCopy(target, 0, 0, width, height, background, 0, 0);
    }
};

// A sound as the stub records it: name and mode (0 waited, 1 not).
inline QString played(const char* name, int mode) {
    return QStringLiteral("%1/%2").arg(QLatin1String(name)).arg(mode);
}

// The offscreen platform cannot shape windows and says so at every step of a slide; call once,
// in initTestCase.
inline void quietAboutMasks() {
    static QtMessageHandler next = nullptr;
    next = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.contains(QLatin1String("does not support setting window masks")))
                next(type, context, message);
        });
}

class PanelWorld {
public:
    // `extra`: rows added to the program's table (a menu's panel, say).
    explicit PanelWorld(std::vector<shell::PanelRow> extra = {}) {
        namespace fs = std::filesystem;
        for (const char* file : {"Zephlib.so", "Voltaro.dat", "Tonebank.so"})
            fs::copy_file(fs::path(VOLTARO_TEST_APP_DIR) / file, app / file);
        zephlib = std::make_unique<platform::ZephlibBinding>(app / "Zephlib.so");
        options = std::make_unique<shell::OptionsStore>(app / "config.ini", app / "autostart");
        main = std::make_unique<shell::FrmMain>(*state, *zephlib, *options, app, QStringList{});
        effects = std::make_unique<StubEffects>(*zephlib, *state);
        auto rows = app::panelTable(*options, app / "Voltaro");
        for (shell::PanelRow& row : rows)
            if (row.side != shell::PanelSide::Options) row.factory = app::make<StandinPanel>;
        rows.insert(rows.end(), extra.begin(), extra.end());
        host = std::make_unique<shell::PanelHost>(
            *state, *main, *effects,
            [this] { return followActive_ ? platform::foregroundWindow() : foreground_; },
            std::move(rows));
        QObject::connect(main.get(), &shell::FrmMain::openKey, host.get(),
                         &shell::PanelHost::openKey);
        std::string reason;
        if (main->Form_Load(reason) != shell::FrmMain::LoadResult::Loaded)
            qFatal("the main window does not load: %s", reason.c_str());
        main->shapeAndShow();
        if (!QTest::qWaitForWindowActive(main.get())) qFatal("the main window is not active");
        main->MainT_Timer();  // the first tick frees the keys
    }

    // Registers the panel under test for its key.
    template <typename Panel>
    void registerPanel(std::int16_t number) {
        host->registerPanel(number, app::make<Panel>);
    }

    // Presses the key of a panel as the user would (a menu's panel opens from its row). The
    // release that follows would find the main window disabled and the panel busy.
    void press(std::int16_t number) {
        const shell::PanelRow& row = host->row(number);
        if (row.key == shell::PanelKey::Menu) return host->openRow(row);
        QTest::mousePress(row.key == shell::PanelKey::Round ? main->roundButton(row.keyIndex)
                                                            : main->squareButton(row.keyIndex),
                          Qt::LeftButton);
    }
    // Presses the key and runs the panel's first tick (its controls show, the watch is armed).
    shell::PanelForm* open(std::int16_t number) {
        press(number);
        shell::PanelForm* panel = host->currentPanel();
        if (panel != nullptr) panel->PanelT_Timer();
        return panel;
    }
    // The user switches to another program: the panel's next tick abandons it, and it is gone.
    void switchAway() {
        followActive_ = false;
        foreground_ = 0;
        if (shell::PanelForm* panel = host->currentPanel()) panel->PanelT_Timer();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        followActive_ = true;
    }
    // A panel is open (not yet unloaded).
    bool panelOpen() const {
        const shell::PanelForm* panel = host->currentPanel();
        return panel != nullptr && !panel->isUnloaded();
    }
    // A control of the open panel by its object name ("TB0", "Clist"); null when there is none.
    template <typename Control>
    Control* control(const char* name) const {
        shell::PanelForm* panel = host->currentPanel();
        return panel != nullptr ? panel->findChild<Control*>(QLatin1String(name)) : nullptr;
    }
    // The foreground the panel watch sees from now on (0: another program).
    void setForeground(shell::WindowId id) {
        followActive_ = false;
        foreground_ = id;
    }

    QTemporaryDir dir;
    std::filesystem::path app = dir.path().toStdString();
    std::unique_ptr<shell::SharedState> state = std::make_unique<shell::SharedState>();
    std::unique_ptr<platform::ZephlibBinding> zephlib;
    std::unique_ptr<shell::OptionsStore> options;
    std::unique_ptr<shell::FrmMain> main;
    std::unique_ptr<StubEffects> effects;
    std::unique_ptr<shell::PanelHost> host;

private:
    shell::WindowId foreground_ = 0;
    bool followActive_ = true;  // the foreground is the active window until a test sets one
};

// Closes every error window as soon as it shows, as the user's OK would, keeping its message
// (line breaks as the window shows them) and how many there were.
class ErrorCloser : public QObject {
public:
    ErrorCloser() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (auto* error = qobject_cast<shell::ErrWnd*>(QApplication::activeModalWidget())) {
                message = error->messageLabel()->text();
                ++shown;
                error->unload();
            }
        });
        timer_.start(10);
    }
    QString message;
    int shown = 0;

private:
    QTimer timer_;
};

}  // namespace voltaro::testing
