// The panel keys of the main window: what a press opens and how. The host holds the panel table
// (one row a panel: its key or menu entry, picture, size, side, sounds, display line and
// factory), runs a row's opening sequence (sounds, centring the main window, resetting the
// results, the print button, the panel picture, the slide, the display line; for the options
// panel the spin) and creates the panel through the row's factory. The panels live in the floors
// above: the composition root hands the table in, so the shell never depends on them.
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
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/main_face.h"
#include "shell/panel.h"
#include "shell/shared_state.h"

namespace voltaro::shell {

class Effects;
class FrmMain;

// What is wrong with a panel table, nullopt when nothing is: two rows with one number or one key,
// a number below 1, a key index off the face (4 square, 3 round keys), a menu row without its
// entry or with one another row has, a row without a factory, a form name, a picture or a size.
std::optional<std::string> checkPanelTable(const std::vector<PanelRow>& rows);

class PanelHost : public QObject {
    Q_OBJECT

public:
    // `foreground` answers which window has the user's attention (platform::foregroundWindow in
    // the program). `rows`: the panel table; a table that contradicts itself (checkPanelTable) is
    // a programming error and throws std::invalid_argument.
    PanelHost(SharedState& state, FrmMain& mainWindow, Effects& effects,
              std::function<WindowId()> foreground, std::vector<PanelRow> rows);
    ~PanelHost() override;

    const std::vector<PanelRow>& rows() const { return rows_; }
    // The row of panel `number`; throws std::out_of_range for a number no row has.
    const PanelRow& row(std::int16_t number) const;
    // Makes panel `number` with another factory from now on (tests); throws as row() does.
    void registerPanel(std::int16_t number, PanelFactory factory);

    // A press on the key of panel `number` while no panel is busy: its opening sequence. Returns
    // when the panel has slid out (and the display line is written). False, with the reason on
    // standard error, for a number no row has.
    bool open(std::int16_t number);
    // A press on a key of the face (the signal FrmMain::openKey): opens the row of that key.
    bool openKey(PanelKey key, int index);
    // Opens the panel of a row of the table (a menu entry).
    void openRow(const PanelRow& row);

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
    PanelForm* create(const PanelRow& row);

    SharedState& state_;
    FrmMain& main_;
    Effects& effects_;
    MainFace mainFace_;
    PanelContext context_;
    std::vector<PanelRow> rows_;
    QPointer<PanelForm> current_;
};

}  // namespace voltaro::shell
