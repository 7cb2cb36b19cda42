// frmMain: the main window. A borderless window cut out of the face picture "BASE", dragged by
// its face, with the display, the seven panel keys, the print and exit buttons and the badge. Its
// timer MainT (300 ms) minimises it when the user switches to another program (with Auto Min on)
// and takes a fresh copy of the face when the user comes back.
//
// Start-up runs in Form_Load (everything after the single-instance hand-over), then Main shapes
// and shows the window. A panel key emits openKey and the print button printReport; the program
// connects the panels and the report to them. A right-click on the face that does not drag it, the
// Menu key or Shift+F10 opens the face's menu (FaceMenu), whose entries the program registers.
// Geometry of the window is kept in pixels; twips (15 per pixel) appear only where the start-up
// positions are given in them.
//
// The keyboard: each key has a letter (W G C T S N O, P for print, Ctrl+Q for OFF) named in its
// tool tip; Tab moves the focus ring over the keys in that order and Space or Return presses the
// one it is on, with the picture and sound of a click.
#pragma once

#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/foreground.h"
#include "shell/options_store.h"
#include "shell/shared_state.h"
#include "shell/transitions.h"

class QLabel;

namespace voltaro::platform {
class ZephlibBinding;
}

namespace voltaro::shell {

class FaceMenu;
class ImageButton;

class FrmMain : public QWidget {
    Q_OBJECT

public:
    FrmMain(SharedState& state, platform::ZephlibBinding& zephlib, const OptionsStore& options,
            std::filesystem::path appDir, QStringList arguments);
    // Takes the display's caption hook out of the shared record: the record outlives the window.
    ~FrmMain() override;

    enum class LoadResult { Loaded, DisplayRejected, Failed };
    // The start-up sequence from "Loading..." on. DisplayRejected: the display check failed (the
    // caller shows its message and ends). Failed: `reason` says why; the program ends without a
    // window.
    LoadResult Form_Load(std::string& reason);

    // Cuts the window out of "BASE", puts it at 1000, 1000 twips and shows it.
    void shapeAndShow();

    void RefreshButtons();
    void CaptureFace();
    // One tick of the main timer (every 300 ms).
    void MainT_Timer();

    // The controls, for the layers above and for tests.
    QLabel* displayLabel() const { return Display; }
    ImageButton* squareButton(int i) const { return SmSqImage[static_cast<std::size_t>(i)]; }
    ImageButton* roundButton(int i) const { return SmRndImage[static_cast<std::size_t>(i)]; }
    ImageButton* printButton() const { return PrnBut; }
    ImageButton* exitButton() const { return OffBut; }
    QTimer& mainTimer() { return MainT; }
    // What the main timer reads as the foreground; the panels read the same (its reader()).
    platform::Foreground& foreground() { return foreground_; }
    void setForeground(platform::Foreground foreground) { foreground_ = std::move(foreground); }
    FaceMenu& faceMenu() const { return *Menu; }

    // The display's caption as the label shows it: "&&" is one ampersand, a lone "&" marks an
    // access key and is not shown.
    static QString displayCaption(const std::string& text);

Q_SIGNALS:
    // A panel key was pressed while no panel is busy: open the panel of that key (the panel
    // table says which).
    void openKey(voltaro::shell::PanelKey key, int index);
    // The print button, or Auto Print, with a result ready: print the results log.
    void printReport();
    // Shutdown has finished, or the window was closed some other way (the window manager's
    // close, Alt+F4: no results-log deletion, no compaction): the program may end.
    void finished();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void Form_Activate();
    void print();
    void Shutdown();
    void setDisplayCaption(const std::string& text);
    void lag(int ticks);
    void openMenuFromKeyboard();

    SharedState& state_;
    platform::ZephlibBinding& zephlib_;
    const OptionsStore& options_;
    std::filesystem::path appDir_;
    QStringList arguments_;

    QPixmap base_;  // BasePic: the face picture
    QTimer MainT;
    QLabel* Display;
    QLabel* Image1;
    std::array<ImageButton*, 4> SmSqImage{};
    std::array<ImageButton*, 3> SmRndImage{};
    ImageButton* PrnBut;
    ImageButton* OffBut;
    FaceMenu* Menu;

    QPointer<QWidget> focusBack_;       // the focus in this window last: it returns there
    std::optional<QPoint> dragOffset_;  // where the face was taken, while it is dragged
    QPoint pressedAt_;                  // the pointer's press, in screen pixels
    bool dragged_ = false;              // the window has moved since the press
    bool wasActive_ = false;
    platform::Foreground foreground_;
    QMetaObject::Connection focusWatch_;
    QMetaObject::Connection focusTrack_;
    bool shutDown_ = false;
};

}  // namespace voltaro::shell
