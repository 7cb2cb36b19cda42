// MotorFrm: the motor current panel, the drawer that slides out on the left of the main window
// from the face's menu entry "Motor Full-Load Current...". A knob chooses single or three phase
// (the lit caption beside it says which); the horsepower box drops down the ratings the phase's
// table lists and takes any other typed rating ("1 1/2", "7-1/2", "1.5"); the supply volts are
// typed. Enter or Tab moves between the horsepower and the volts. Calculate shows the table's
// full-load current, the conductors' 125 % and, for three phase at 575 V or less, the starter size
// on the display, writes the results log and slides the panel back; an error comes up in the
// error window and leaves the panel open. The panel opens on 10 hp, three phase, 460 V, unless the
// user left it by switching to another program: then everything comes back as it was.
#pragma once

#include <array>
#include <optional>

#include "calc/common/outcome.h"
#include "shell/panel.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace voltaro::calc::motor {

class MotorFrm : public shell::CalculatorForm {
    Q_OBJECT

public:
    MotorFrm(shell::PanelContext& context, const shell::PanelRow& row);

protected:
    Outcome calculate() override;
    void Form_Load(bool restoreInputs) override;
    void saveInputs() override;

private:
    // Lists the ratings of the phase the knob chose, keeping the text in the box.
    void listRatings();

    shell::PanelForm::Knob* Knob = nullptr;
    QComboBox* Hp = nullptr;
    QLineEdit* TV = nullptr;
    std::array<QLabel*, 4> L1{};  // "Single Phase", "Three Phase", "Horsepower", "Volts"
    bool singlePhase_ = false;
    // A reference table that could not be read for the ratings: the calculation reports it.
    std::optional<Failure> listFailure_;
};

}  // namespace voltaro::calc::motor
