// Enclose: the NEMA enclosure panel ("MENU6", left of the main window). A browser rather than a
// calculator: the arrows of a small scroll bar (or the arrow keys) step through the NEMA
// enclosure types of the code tables, one per click, stopping at the first and the last; the
// panel shows each type's number and its five-line description. Select puts the type and its
// description on the display, in place of what it showed, and into the results log; exit
// changes nothing. When the user switches to another program the panel vanishes and the next
// open shows the same entry again.
#pragma once

#include <string>

#include "shell/panel.h"

class QLabel;
class QPlainTextEdit;
class QScrollBar;

namespace voltaro::calc::enclosure {

class Enclose : public shell::CalculatorForm {
    Q_OBJECT

public:
    Enclose(shell::PanelContext& context, const shell::PanelRow& row);

    // The scroll bar has moved: the entry at its value is shown.
    void Scrol1_Change();

    // The controls, for tests.
    QLabel* typeLabel() const { return L2; }
    QScrollBar* scrollBar() const { return Scrol1; }
    QPlainTextEdit* description() const { return DescT; }

protected:
    // Select: the entry shown, on the display alone (in place of what it showed) and in the log.
    Outcome calculate() override;
    void leaving() override;
    void Form_Load(bool restoreInputs) override;
    void firstTick() override;
    void saveInputs() override;

private:
    bool reportFailure(const std::string& message);

    QLabel* L1[2]{};
    QLabel* L2 = nullptr;
    QScrollBar* Scrol1 = nullptr;
    QPlainTextEdit* DescT = nullptr;
    bool loading_ = false;
    std::string
        loadFailure_;  // an entry that could not be read while loading, said at the first tick
};

}  // namespace voltaro::calc::enclosure
