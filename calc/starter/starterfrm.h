// Starter: the motor starter panel, the drawer that slides out on the right of the main window
// from the STARTER key. The user types the motor's full-load amperes and the three-phase supply
// volts; Enter or Tab moves between the two boxes. Calculate shows "Use Size X Starter" on the
// display, writes the results log and slides the panel back; an error comes up in the error
// window and leaves the panel open. Switching to another program keeps the two boxes
// (SavedStarterInputs) until the panel is opened again.
#pragma once

#include <array>

#include "shell/panel.h"

class QLabel;
class QLineEdit;

namespace voltaro::calc::starter {

class Starter : public shell::CalculatorForm {
    Q_OBJECT

public:
    Starter(shell::PanelContext& context, const shell::PanelRow& row);

protected:
    Outcome calculate() override;
    void Form_Load(bool restoreInputs) override;
    void saveInputs() override;

private:
    QLineEdit* Ts = nullptr;  // full-load amperes
    QLineEdit* Ti = nullptr;  // supply volts
    std::array<QLabel*, 2> L1{};
    std::array<shell::ImageButton*, 2> DneBut{};
};

}  // namespace voltaro::calc::starter
