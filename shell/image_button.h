// An image control: paints one picture and reports presses and releases of the mouse, and of
// Space or Return while it has the keyboard focus. What a press or release shows and does is the
// owner's business (the main window swaps the pictures). It takes the focus from Tab only, never
// from a click, and shows it with a ring drawn just outside its picture in the panels' focus
// colour; the ring shows while the keyboard is in use on it (reached by Tab, a key pressed on
// it) and not after a click, so a mouse user never sees it.
//
// Screen readers see it as a push button named by its accessible name, described by its tool tip,
// with its key (setShortcut) as its accelerator and a press action that clicks it.
#pragma once

#include <QKeySequence>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

namespace voltaro::shell {

class ImageButton : public QWidget {
    Q_OBJECT

public:
    ImageButton(const QString& objectName, const QString& accessibleName, QWidget* parent);

    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }

    // The shape of the focus ring: a rounded square, or a circle for round keys and knobs.
    enum class Outline { Square, Round };
    void setOutline(Outline outline) { outline_ = outline; }

    // A key that clicks the control while its window is active (the main window's letters).
    void setShortcut(const QKeySequence& key);
    QKeySequence shortcut() const { return shortcut_; }

    // What a mouse click does, from the keyboard: pressed, released, clicked.
    void click();

    // The focus ring shows now; the keyboard is in use on the control (the ring shows whenever
    // it has the focus).
    bool ringShown() const;
    bool keyboardFocus() const { return cues_; }

Q_SIGNALS:
    void pressed();
    void released();
    // A release inside the control after a press on it.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showRing(bool cues);

    QPixmap picture_;
    bool down_ = false;
    bool keyDown_ = false;  // pressed by Space or Return, waiting for the key's release
    bool cues_ = false;     // the keyboard is in use on this control: its focus shows
    Outline outline_ = Outline::Square;
    QKeySequence shortcut_;
    QPointer<QWidget> ring_;
};

// Makes the program's own controls known to screen readers in their proper roles: image controls
// as push buttons, the error window as an alert, the main window and the panels as windows.
// Installed once; the main window, every image control and the error window call it.
void useAccessibleRoles();

}  // namespace voltaro::shell
