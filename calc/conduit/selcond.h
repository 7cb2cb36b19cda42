// SelCond: the conduit type dialog of the conduit fill panel. It lists the conduit types by their
// full names, shows the abbreviation of the type chosen in a green label, and has one button,
// "O&K" (Enter, Alt+K, or a double click on a type), which sets the program's current conduit
// type (ConduitAbbr and ConduitName) and shrinks the dialog away; there is no cancel. It opens on
// the type the program has, so OK without a click keeps that type, name included.
//
// The panel grows it on the screen and then runs it modally (FillFrm::Text1_Click). While it is
// up it counts as the error window does for the panel watch: it records itself in
// ErrorForeground when it becomes active, and the watch unloads it (unload()) when the user
// switches to another program, which changes nothing.
#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "calc/common/outcome.h"
#include "shell/shared_state.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace voltaro::calc::conduit {

class SelCond : public QDialog {
    Q_OBJECT

public:
    SelCond(shell::SharedState& state, QWidget* parent);

    // The dialog's load: the chosen abbreviation shown, the types listed, the current type
    // selected. The failure when the types cannot be read.
    std::optional<calc::Failure> Form_Load();

    // A type was clicked (or reached with the keys): its abbreviation is shown.
    void List1_Click();
    // Sets ConduitAbbr and ConduitName from the choice, shrinks the dialog in 100 steps and
    // closes it.
    void OK_Click();
    // Closes the dialog at once, changing nothing.
    void unload();

    QLabel* abbreviation() const { return Label1[1]; }
    QListWidget* types() const { return List1; }
    QPushButton* okButton() const { return OK; }

public Q_SLOTS:
    // No cancel: Escape and the window manager's close leave the dialog up.
    void reject() override {}

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void recordForeground();

    shell::SharedState& state_;
    QLabel* Label1[2]{};
    QListWidget* List1 = nullptr;
    std::vector<std::string> List2;  // the abbreviations, entry for entry beside List1
    QPushButton* OK = nullptr;
    bool closing_ = false;
};

}  // namespace voltaro::calc::conduit
