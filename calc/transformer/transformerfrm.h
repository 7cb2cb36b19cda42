// Xfmr: the transformer panel, the drawer that slides out on the left of the main window from the
// TRANSFORMER key. Two knobs choose the question (transformer KVA from full-load amperes, or
// full-load amperes from KVA) and the phase (single or three); the lit caption beside each knob
// says which. The user types the first input (named by the mode knob) and the secondary volts;
// Enter or Tab moves between the two boxes. Calculate shows the answer and the phase on the
// display, writes the results log and slides the panel back; an error comes up in the error
// window and leaves the panel open. A panel opens on KVA and single phase, unless the user left it
// by switching to another program: then the knobs (KnobState) and the two boxes
// (SavedXfmrInputs) come back as they were.
#pragma once

#include <QColor>
#include <array>

#include "shell/panel.h"
#include "shell/panel_style.h"

class QLabel;
class QLineEdit;

namespace voltaro::calc::transformer {

class Xfmr : public shell::CalculatorForm {
    Q_OBJECT

public:
    Xfmr(shell::PanelContext& context, const shell::PanelRow& row);

    void Knob_Click(int index);

    // Caption colours: the lit caption of a knob's pair, and the other one.
    static inline const QColor& kLit = shell::panel_style::kGlassText;
    static inline const QColor kUnlit{0, 192, 0};

protected:
    Outcome calculate() override;
    void Form_Load(bool restoreInputs) override;
    void firstTick() override;
    void saveInputs() override;

private:
    void ShowKnobState(int index, bool state);
    void showKnob(int index);

    QLineEdit* TA = nullptr;  // amperes (KVA mode) or KVA (amperes mode)
    QLineEdit* TV = nullptr;  // secondary volts
    std::array<shell::ImageButton*, 2> Knob{};
    // 0 to 3: the knobs' captions; 6 names TA, 7 names TV (4 and 5 are the art's frames).
    std::array<QLabel*, 8> L1{};
    std::array<shell::ImageButton*, 2> DneBut{};
};

}  // namespace voltaro::calc::transformer
