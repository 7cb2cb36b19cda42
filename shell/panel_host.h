// The panel keys of the main window: what a press opens and how. The host runs each key's
// opening sequence (sounds, centring the main window, resetting the results, the print button,
// the panel picture, the slide, the display line; for the options key the spin) and creates the
// panel through a factory registered for its number. The panels live in the floors above: the
// composition root registers them, so the shell never depends on them.
//
// While a panel is open the main window is disabled. A window manager may still activate it on
// a click; the program's own disabled window is not another program, so the host hands the
// activation back to the panel (or to the error window when one is up), as a disabled window on
// the original desktop never became the foreground.
#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "shell/main_face.h"
#include "shell/panel.h"
#include "shell/shared_state.h"

namespace voltaro::shell {

class Effects;
class FrmMain;

class PanelHost : public QObject {
    Q_OBJECT

public:
    using Factory = std::function<std::unique_ptr<PanelForm>(PanelContext& context)>;

    // `foreground` answers which window has the user's attention (platform::foregroundWindow in
    // the program).
    PanelHost(SharedState& state, FrmMain& mainWindow, Effects& effects,
              std::function<WindowId()> foreground);
    ~PanelHost() override;

    // The panel that key `number` (enum Panel) opens.
    void registerPanel(std::int16_t number, Factory factory);

    // A press on the key of panel `number` while no panel is busy: its opening sequence. Returns
    // when the panel has slid out (and the display line is written).
    void open(std::int16_t number);

    // The open panel; null when none is.
    PanelForm* currentPanel() const { return current_; }
    PanelContext& context() { return context_; }
    MainFace& mainFace() { return mainFace_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sound(const char* name, Option guard, bool wait);
    void CentreMainWindow();
    void LoadPanelImage(const char* name);
    void printButtonOff();
    void activateSoon(QWidget* window);
    PanelForm* create(std::int16_t number);

    SharedState& state_;
    FrmMain& main_;
    Effects& effects_;
    MainFace mainFace_;
    PanelContext context_;
    std::map<std::int16_t, Factory> factories_;
    QPointer<PanelForm> current_;
};

}  // namespace voltaro::shell
