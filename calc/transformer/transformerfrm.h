// Xfmr: the transformer panel, the drawer that slides out on the left of the main window from the
// TRANSFORMER key. Two knobs choose the question (transformer KVA from full-load amperes, or
// full-load amperes from KVA) and the phase (single or three); the lit caption beside each knob
// says which. The user types the first input (named by the mode knob) and the secondary volts;
// Enter moves between the two boxes. From the keyboard, Space turns a knob to its other choice
// and the arrow keys turn it to the upper (Up, Left) or lower (Down, Right) caption. Calculate
// shows the answer and the phase on the display, writes the results log and slides the panel back;
// an error comes up in the error window and leaves the panel open. A panel opens on KVA and single
// phase, unless the user left it by switching to another program: then the knobs (KnobState) and
// the two boxes (SavedXfmrInputs) come back as they were.
#pragma once

#include <array>

#include "shell/panel.h"

class QLabel;
class QLineEdit;

namespace voltaro::calc::transformer {

class Xfmr : public shell::CalculatorForm {
    Q_OBJECT

public:
    Xfmr(shell::PanelContext& context, const shell::PanelRow& row);

protected:
    Outcome calculate() override;
    void Form_Load(bool restoreInputs) override;
    void saveInputs() override;
    // The two boxes, and the phase the lower knob chose.
    std::vector<history::Input> typedInputs() override;

private:
    // The first box's caption, tool tip and name follow the mode knob.
    void showMode();

    QLineEdit* TA = nullptr;                        // amperes (KVA mode) or KVA (amperes mode)
    QLineEdit* TV = nullptr;                        // secondary volts
    std::array<shell::PanelForm::Knob*, 2> Knob{};  // mode (KnobState[0]), phase ([1])
    // 0 to 3: the knobs' captions; 6 names TA, 7 names TV (4 and 5 are the art's frames).
    std::array<QLabel*, 8> L1{};
    std::array<shell::ImageButton*, 2> DneBut{};
};

}  // namespace voltaro::calc::transformer
