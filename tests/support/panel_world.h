// What the widget tests of the panels share. StubEffects: Zephlib's pictures, while the waits only
// count and sounds and spins are only recorded. PanelWorld: one calculator panel's world without
// the main window's start-up: a private copy of Voltaro.dat open as RefDb (the core fixture), the
// results log in the copy's folder, a stand-in main window, and a foreground that follows the
// active window until a test names one. open<Panel>() slides a panel out (waits stubbed) and runs
// its first tick. Header-only; link voltaro_shell_ui, voltaro_resources and Qt6::Test.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/foreground.h"
#include "platform/surface.h"
#include "shell/effects.h"
#include "shell/errwnd.h"
#include "shell/main_face.h"
#include "shell/panel.h"
#include "tests/support/core_fixture.h"
#include "zephlib/binding/zephlib_binding.h"

namespace voltaro::testing {

struct StubEffects : shell::ZephlibEffects {
    using ZephlibEffects::ZephlibEffects;
    std::int64_t now = 0;
    std::vector<std::int32_t> lags;
    QStringList sounds;  // "name/mode": mode 0 waited, 1 not
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

// The offscreen platform cannot shape windows and says so at every step of a slide: install in
// initTestCase() to keep the log readable.
inline QtMessageHandler& defaultMessageHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}
inline void quietAboutMasks(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
    if (!message.contains(QLatin1String("does not support setting window masks")))
        defaultMessageHandler()(type, context, message);
}
inline void installQuietAboutMasks() {
    defaultMessageHandler() = qInstallMessageHandler(quietAboutMasks);
}

// While it lives, closes every error window as soon as it shows, keeping the last message.
class ErrorCloser {
  public:
    ErrorCloser() {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            if (auto* error = qobject_cast<shell::ErrWnd*>(QApplication::activeModalWidget())) {
                message = error->messageLabel()->text();
                error->unload();
            }
        });
        timer_.start(5);
    }
    QString message;

  private:
    QTimer timer_;
};

class PanelWorld {
  public:
    PanelWorld() {
        state.RefDb = core.open();
        state.DataPath = core.path();
        state.ResultsPath = core.folder() / "~qxrslt.dat";
        state.OptionFlags.fill(true);  // every sound is heard (and recorded)
        main.setGeometry(400, 100, 268, 546);
        main.show();
    }

    // Slides the panel out as its key would (the waits stubbed) and runs its first tick.
    template <typename Panel>
    Panel* open() {
        auto* panel = new Panel(context);
        const shell::PanelInfo& info = panel->info();
        state.PanelWidth = info.size.w;
        state.PanelHeight = info.size.h;
        state.PanelImage = std::make_shared<platform::Surface>(info.size.w, info.size.h);
        state.PanelBusy = true;
        state.DisplayText = std::string(info.displayLine) + "\r\n";
        panel->SlidePanelOpen();
        panel->PanelT_Timer();
        effects.sounds.clear();
        return panel;
    }

    // The panel watch sees `id` as the foreground from now on (0: another program).
    void setForeground(shell::WindowId id) {
        followActive_ = false;
        foreground_ = id;
    }
    // Runs the deletions an unloaded panel asked for.
    static void flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    CoreFixture core;
    shell::SharedState state;
    platform::ZephlibBinding zephlib{appDir() / "Zephlib.so"};
    StubEffects effects{zephlib, state};
    QWidget main;
    shell::MainFace face{state, main, effects};
    shell::PanelContext context{
        state, effects, main, face,
        [this] { return followActive_ ? platform::foregroundWindow() : foreground_; }};

  private:
    bool followActive_ = true;
    shell::WindowId foreground_ = 0;
};

}  // namespace voltaro::testing
