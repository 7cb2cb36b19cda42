// The panel base: what every panel (the six calculators and the options panel) shares. A panel
// is a frameless top-level window beside the main window, kept above it, that slides out from
// behind it when its key is pressed and slides back when it closes. While it is open its timer
// runs the panel watch: when the user switches to another program the panel saves its inputs,
// records itself in AbandonedPanel and vanishes without a slide; the next open of the same
// panel restores the inputs.
//
// Writing a calculator panel (calc/<name>/<name>frm.*), as the motor starter's is written: a
// CalculatorForm made from the context and its row of the panel table. Its constructor places its
// controls on the layout's rectangles; the base calls its hooks.
//
//   class Starter : public shell::CalculatorForm {
//   public:
//       Starter(shell::PanelContext& context, const shell::PanelRow& row)
//           : CalculatorForm(context, row) {
//           namespace at = assets::layout::starter;
//           using namespace shell::panel_style;  // one look for every panel's controls
//           // Every control is hidden until the panel's first tick.
//           Ts = addControl(textBox("Ts", kDefaultAmps, toolTip, name), at::kAmps);
//           Ti = addControl(textBox("Ti", kDefaultVolts, toolTip, name), at::kVolts);
//           addDneButtons(at::kDne, "Calculate Starter Size", at::kX, "Exit Without Calculation");
//           pairBoxes(Ts, Ti);  // Enter moves between the two, Tab on from Ts to Ti
//       }
//
//   protected:
//       // DneBut 0: read the inputs, run the core, keep what the shared record keeps of the
//       // answer. The base publishes the answer and closes, or shows the failure and stays open.
//       calc::Outcome calculate() override {
//           const Inputs inputs{Ts->text().toStdString(), Ti->text().toStdString()};
//           return shell::withDatabase(state(), [&](refdb::Database& db) {
//               return calculateStarter(db, inputs, &state().StarterSize);
//           });
//       }
//       // Opened fresh, or restoring what saveInputs kept when the user switched away.
//       void Form_Load(bool restoreInputs) override {
//           Ts->setText(restoreInputs ? QString::fromStdString(state().SavedStarterInputs[0])
//                                     : kDefaultAmps);
//           ...
//       }
//       void saveInputs() override { state().SavedStarterInputs = {...}; }
//
//   private:
//       QLineEdit* Ts = nullptr;
//       QLineEdit* Ti = nullptr;
//   };
//
// The first tick puts the focus in the first box (firstTick for another control, as the wire
// panel's); chainBoxes (Enter moves down more than two boxes), addKnob (a knob of two choices and
// its captions), leaving() (hide lists that must not slide back, let go of what the panel holds)
// and acceptsPress() (false while a press must do nothing) are there when a panel needs them. The
// panel's row in app/panels.h names it, its key or menu entry, picture, size, side and factory
// (app::make<Starter>); the host does the rest.
//
// Life of a panel: the host (shell/panel_host.h) makes it through its row's factory when its key
// is pressed and calls SlidePanelOpen (or OpenOptionsPanel), which loads it: ErrorShown and
// PanelTimerArmed are cleared, Form_Load runs (restoreInputs is true when AbandonedPanel held this
// panel's number, which is then reset to 0) and the panel timer starts (500 ms; the options
// panel's 100 ms timer starts when its slide has ended). The panel is placed by PlacePanel, slides
// out and disables the main window. Its first tick shows every control registered with
// addControl, records the panel as PanelForeground, arms the timer and calls firstTick. It ends
// either by closePanel (normal close) or by the watch (abandoned); either way it unloads: it hides
// at once and deletes itself later, never while one of its own handlers is still running (see
// showError).
//
// Units: the layout's rectangles and all sizes are pixels; the vertical offset is twips.
#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "assets/layout.h"
#include "calc/common/outcome.h"
#include "platform/surface.h"
#include "shell/panel_style.h"
#include "shell/shared_state.h"
#include "shell/transitions.h"

class QLabel;
class QLineEdit;

namespace voltaro::shell {

class Effects;
class ImageButton;
class MainFace;

class PanelForm;
struct PanelContext;
struct PanelRow;

// Makes the panel of a row when its key is pressed; the panel deletes itself when it unloads.
using PanelFactory =
    std::function<std::unique_ptr<PanelForm>(PanelContext& context, const PanelRow& row)>;

// One panel, everything the shell needs to open it: a row of the program's panel table (the
// composition root holds the table and hands it to the host).
struct PanelRow {
    std::int16_t number;  // its AbandonedPanel number; the slot its inputs wait in when abandoned
    PanelKey key;
    int keyIndex;               // SmSqImage or SmRndImage index; -1 for a menu entry
    const char* menuEntry;      // the menu's text ("Voltage Drop..."); nullptr for a key
    const char* formName;       // the window's object name: "WireFrm", "GndOcp", ...
    const char* title;          // window title and accessible name
    const char* picture;        // PanelImage: a program bitmap, or for the options panel the
                                // sound library's "CIRCUIT"
    assets::layout::Size size;  // PanelWidth x PanelHeight, pixels
    PanelSide side;
    int offsetTwips;              // vertical offset of PlacePanel
    const char* displayLine;      // written to the display once it has opened; nullptr for none
    const char* pressSound;       // played on the press with Button Sounds on
    bool pressSoundWaited;        // ... and waited for
    const char* slideSound;       // played (not waited) as it slides out, with Slide Sounds on
    bool resetsNotes;             // the press clears the note flags as well as ResultsReady
    int timerMs;                  // the panel timer's interval
    assets::layout::Rect exitAt;  // its exit button, on its picture
    PanelFactory factory;
};

// What a panel works with. The host owns it; it outlives every panel.
struct PanelContext {
    SharedState& state;
    Effects& effects;
    QWidget& mainWindow;
    MainFace& mainFace;                    // the main window's face (the options panel's spin)
    std::function<WindowId()> foreground;  // the foreground window now; 0 for another program
};

class PanelForm : public QWidget {
    Q_OBJECT

public:
    PanelForm(PanelContext& context, const PanelRow& row);
    ~PanelForm() override;

    const PanelRow& info() const { return info_; }

    class Knob;

    // SlidePanelOpen: PlacePanel (which loads the panel), the snapshot, the slide out from
    // PanelImage (4000 ticks a step), then the main window disabled. For sides 0 and 1; the host
    // has set PanelWidth, PanelHeight and PanelImage.
    void SlidePanelOpen();
    // OpenOptionsPanel: loads the panel, makes PanelImage, places it, draws "CIRCUIT" into
    // PanelImage, slides it in (8000 ticks a step), disables the main window, starts the timer
    // and paints the whole panel once.
    void OpenOptionsPanel();

    // One tick of the panel timer: the panel watch.
    void PanelT_Timer();
    QTimer& panelTimer() { return PanelT; }

    // True once the panel has unloaded (it is then hidden and about to be deleted).
    bool isUnloaded() const { return unloaded_; }

Q_SIGNALS:
    // The panel has unloaded: by its normal close, or abandoned by the watch.
    void unloaded(bool abandoned);

protected:
    // Hooks for the panels. Form_Load runs once when the panel loads; restoreInputs says that it
    // was abandoned last time and must restore what saveInputs kept. firstTick runs after the
    // first tick has shown the controls. saveInputs runs when the watch abandons the panel, before
    // it unloads; abandoned runs after it has unloaded.
    virtual void Form_Load(bool restoreInputs) { (void)restoreInputs; }
    virtual void firstTick() {}
    virtual void saveInputs() {}
    virtual void abandoned() {}
    // The inputs as the user typed them, for the history: by default every text box's text,
    // every list's selected entry and every scroll bar's value, each under its accessible name,
    // in the order the controls were added. A panel whose inputs are something else overrides it.
    virtual std::vector<history::Input> typedInputs();

    // Registers a control at a layout rectangle: parented to the panel and hidden until the first
    // tick. Returns the control.
    template <typename Control>
    Control* addControl(Control* control, const assets::layout::Rect& at) {
        registerControl(control, at);
        return control;
    }
    // The image buttons of a panel, registered as controls: "DNE_U" ("DNE_D" while pressed) and
    // the exit button "X_UP" ("X_DN" while pressed, tool tip "Exit").
    ImageButton* addDneButton(const assets::layout::Rect& at, const QString& accessibleName,
                              const QString& objectName = QStringLiteral("DneBut0"));
    ImageButton* addXButton(const assets::layout::Rect& at,
                            const QString& objectName = QStringLiteral("DneBut1"));
    // Two boxes that Enter moves between, the whole text of the one reached selected; Tab goes
    // from the first to the second and then on to the controls after it (the calculate and exit
    // buttons), Shift+Tab back.
    void pairBoxes(QLineEdit* first, QLineEdit* second);
    // Boxes that Enter moves down, the last back to the first, past a dimmed one, the whole text
    // of the one reached selected (Ctrl+Return still calculates). A box may be an editable
    // drop-down list, whose list closes first. The panel's Tab order is left as it is.
    void chainBoxes(const std::vector<QWidget*>& boxes);

    // A knob of two choices beside its two captions: `upper` holds the choice (true for the upper
    // caption), `shown` does what else follows it (a caption, a list). See Knob.
    Knob* addKnob(const assets::layout::Rect& at, const QString& objectName, const QString& subject,
                  std::array<QLabel*, 2> captions, bool& upper, std::function<void()> shown = {});

    // Sounds, each only when its option is on: the button click "Tick", waited for; any sound,
    // waited (mode 0) or not (mode 1).
    void playButtonSound();
    void playSound(const char* name, Option guard, bool wait);

    // ShowError with this panel as parent. Returns false when the panel was abandoned meanwhile
    // (the watch runs while the error window is up): the caller must then return at once and
    // touch nothing of the panel. The panel is deleted only after the caller's handler returns.
    bool showError(const std::string& message);

    // Publishes a calculator's answer (shell/results_log.h: the display lines, the results log,
    // ResultsReady). When the log cannot be written the answer stays on the display, the error
    // window names the file and the reason, and the print button stays dark. Returns false when
    // the panel was abandoned while that window was up (as showError); otherwise the caller goes
    // on to close the panel as after any result.
    bool publish(const calc::Answer& answer);

    // Marks the panel as closing; false if it already is (a second click on a closing panel).
    bool beginClosing();
    bool isClosing() const { return closing_; }
    // The normal close of a calculator panel: "in" (not waited, with Slide Sounds on), the slide
    // back, PanelBusy false, unload. Hide what must not slide back (lists) before calling it.
    void closePanel();
    // SlidePanelClosed: the panel as it looks now (with its visible controls) slides back into
    // the main window, 4000 ticks a step; then the main window is enabled.
    void SlidePanelClosed();
    // CloseOptionsPanel: the same for the options panel, 5000 ticks a step.
    void CloseOptionsPanel();
    // Hides the panel and deletes it once no handler of it is running. `abandoned`: left by the
    // watch rather than closed.
    void unload(bool abandoned = false);

    // The window's own picture, painted when the panel is fully open (the options panel's
    // "MENU7"); calculators show PanelImage.
    void setPicture(const QImage& picture) { picture_ = picture; }

    // Runs code that processes events (a modal window, processEvents) while the panel is open:
    // an unload meanwhile defers the deletion until the scope ends.
    class NestedScope {
    public:
        explicit NestedScope(PanelForm& panel);
        ~NestedScope();
        NestedScope(const NestedScope&) = delete;
        NestedScope& operator=(const NestedScope&) = delete;

    private:
        PanelForm& panel_;
    };

    SharedState& state() { return context_.state; }
    Effects& effects() { return context_.effects; }
    PanelContext& context() { return context_; }

    // The keys every panel answers wherever its focus is, once its controls show: Escape leaves
    // as the exit button does, Ctrl+Return (or Ctrl+Enter) calculates as the calculate button
    // does. A panel without the button does nothing.
    virtual void leaveByKey() {}
    virtual void calculateByKey() {}

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void registerControl(QWidget* control, const assets::layout::Rect& at);
    void load();
    void PlacePanel();
    void SnapshotPanel();
    void slide(Slide slide);
    void present(const std::vector<bool>& drawn, const QRect& changed);
    void showWhole(const QImage& picture);
    void captureLook();

    PanelContext& context_;
    const PanelRow& info_;
    QTimer PanelT;
    std::vector<QPointer<QWidget>> controls_;
    platform::Surface surface_;   // the window's pixels, as the slides draw them
    std::vector<bool> drawn_;     // per column: shows the panel (true) or what is behind
    std::vector<bool> shapedAs_;  // the columns the window's shape was last set to
    QImage picture_;
    bool loaded_ = false;
    bool closing_ = false;
    bool unloaded_ = false;
    int nesting_ = 0;
};

// A calculator panel: a PanelForm with the pair every calculator has, `DneBut` 0 (calculate, or
// select) and 1 (leave without calculating), and the one way a press on either runs:
//
//   1. "Tick", waited for, with Button Sounds on;
//   2. DneBut 0 only: calculate() reads the inputs and runs the core. A failure goes to the error
//      window and the press ends there: the panel stays open with everything as typed. An answer
//      is published (display, results log, print button);
//   3. leaving(), then "in" (not waited, with Slide Sounds on), the slide back, PanelBusy false,
//      unload.
//
// A press on a panel that is closing or gone does nothing, not even its click.
class CalculatorForm : public PanelForm {
    Q_OBJECT

public:
    using PanelForm::PanelForm;

    // Index 0 calculates (or selects), index 1 leaves without calculating.
    void DneBut_Click(int index);

protected:
    // Reads the inputs, runs the core and keeps in the shared record what the panel keeps of its
    // answer. Runs only for DneBut 0.
    virtual calc::Outcome calculate() = 0;
    // False while a press must do nothing (a drag under way).
    virtual bool acceptsPress() const { return true; }
    // The panel is sure to close, by either button: hide what must not slide back (lists), let go
    // of what it holds. By default a drop-down's open list closes.
    virtual void leaving();
    // By default the focus goes to the first box (a text box, or an editable drop-down list), its
    // whole text selected.
    void firstTick() override;

    // DneBut 0 and 1 at their rectangles, each with its tool tip, which is also its accessible
    // name; a click runs DneBut_Click with its index. Tab reaches both; Space or Return on
    // either presses it.
    std::array<ImageButton*, 2> addDneButtons(const assets::layout::Rect& dne,
                                              const QString& dneTip, const assets::layout::Rect& x,
                                              const QString& xTip);

    // Escape and Ctrl+Return press DneBut 1 and 0, their pictures and sounds as a click's.
    void leaveByKey() override;
    void calculateByKey() override;

private:
    std::array<ImageButton*, 2> dneButtons_{};
};

// A knob: its picture is "KNOB_U" on the upper choice and "KNOB_D" on the lower, and of the two
// captions beside it the chosen one is lit. A click, Space or Return turns it to the other
// choice, Up or Left to the upper and Down or Right to the lower; each turn plays the button
// click. A screen reader names it by what it has chosen ("Phase: Three Phase").
class PanelForm::Knob : public QObject {
public:
    // The captions' colours: the chosen one, and the other.
    static inline const QColor& kLit = panel_style::kGlassText;
    static inline const QColor kUnlit{0, 192, 0};

    Knob(PanelForm& panel, ImageButton* button, QString subject, std::array<QLabel*, 2> captions,
         bool& upper, std::function<void()> shown);

    ImageButton* button() const { return button_; }
    // Shows the choice `upper` holds now: picture, lit caption, name, and what follows it.
    void show();
    // Turns to the other choice, with the click (nothing once the panel has unloaded).
    void turn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PanelForm& panel_;
    ImageButton* button_;
    QString subject_;
    std::array<QLabel*, 2> captions_;
    bool& upper_;
    std::function<void()> shown_;
};

}  // namespace voltaro::shell
