// ErrWnd: the one window every calculator's failures are shown in: a bold "Error", the message on
// as many lines as it has breaks, and an OK button (Enter or Alt+O), on a small drawer of the
// program's own ("ERRWND") that stands over the panel it speaks for. It is modal; timers keep
// running while it is up, so an open panel's watch may unload it (unload()). Screen readers are
// told of it as an alert.
#pragma once

#include <QDialog>
#include <QPointer>

#include <string>

#include "shell/shared_state.h"

class QLabel;
class QPushButton;

namespace voltaro::shell {

class ErrWnd : public QDialog {
    Q_OBJECT

public:
    ErrWnd(SharedState& state, const QString& message, QWidget* parent = nullptr);

    // Closes the window as if OK had been pressed.
    void unload();

    QLabel* messageLabel() const { return LB1; }
    QPushButton* okButton() const { return OKbut; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    SharedState& state_;
    QLabel* Label1;
    QLabel* LB1;
    QPushButton* OKbut;
};

// The message as the window shows it: CR LF or a lone CR breaks a line.
QString errorText(const std::string& message);

// Shows `message` modally and returns when the window has gone (closed by the user or unloaded by
// a panel watch). Sets ErrorWindowOpen while it is up and ErrorShown after it. While it is up,
// state.UnloadErrorWindow unloads it, and `current` (if given) points at it.
void ShowError(SharedState& state, const std::string& message, QWidget* parent = nullptr,
               QPointer<ErrWnd>* current = nullptr);

}  // namespace voltaro::shell
