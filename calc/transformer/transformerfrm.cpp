#include "calc/transformer/transformerfrm.h"

#include <QLabel>
#include <QLineEdit>

#include "calc/transformer/transformer.h"
#include "shell/image_button.h"
#include "shell/panel_style.h"

namespace voltaro::calc::transformer {

namespace at = assets::layout::transformer;
using namespace shell::panel_style;

Xfmr::Xfmr(shell::PanelContext& context, const shell::PanelRow& row)
    : CalculatorForm(context, row) {
    struct Caption {
        std::size_t index;
        const char* text;
        const char* toolTip;
        assets::layout::Rect at;
    };
    const Caption captions[] = {
        {0, "Transformer KVA", "Calculate Transformer KVA", at::kCaptionKva},
        {1, "Full Load Amps", "Calculate Transformer Full Load Amps", at::kCaptionFla},
        {2, "Single Phase", "Single Phase Power", at::kCaptionSingle},
        {3, "Three Phase", "Three Phase Power", at::kCaptionThree},
        {6, "Full Load Amps", nullptr, at::kCaptionInput},
        {7, "Volts", nullptr, at::kCaptionVolts},
    };
    for (const Caption& c : captions) {
        QLabel* label =
            captionLabel(QStringLiteral("L1_%1").arg(c.index), QString::fromLatin1(c.text));
        if (c.toolTip != nullptr) label->setToolTip(QString::fromLatin1(c.toolTip));
        L1[c.index] = addControl(label, c.at);
    }
    Knob[0] = addKnob(at::kModeKnob, QStringLiteral("Knob0"), QStringLiteral("Mode"),
                      {L1[0], L1[1]}, state().KnobState[0], [this] { showMode(); });
    Knob[1] = addKnob(at::kPhaseKnob, QStringLiteral("Knob1"), QStringLiteral("Phase"),
                      {L1[2], L1[3]}, state().KnobState[1]);
    TA = addControl(
        textBox(QStringLiteral("TA"), QStringLiteral("1"),
                QStringLiteral("Enter Full Load Amperes"), QStringLiteral("Full Load Amps")),
        at::kInput);
    TV = addControl(textBox(QStringLiteral("TV"), QStringLiteral("115"),
                            QStringLiteral("Enter Secondary Volts"), QStringLiteral("Volts")),
                    at::kVolts);
    DneBut = addDneButtons(at::kDne, QStringLiteral("Calculate Selected Input"), at::kX,
                           QStringLiteral("Exit Without Calculation"));
    pairBoxes(TA, TV);
}

void Xfmr::showMode() {
    // The first box keeps its text; only what it means changes.
    const bool amps = state().KnobState[0];
    const QString name =
        amps ? QStringLiteral("Full Load Amps") : QStringLiteral("Transformer KVA");
    L1[6]->setText(name);
    L1[6]->setAccessibleName(name);
    TA->setToolTip(amps ? QStringLiteral("Enter Full Load Amperes")
                        : QStringLiteral("Enter Transformer KVA"));
    TA->setAccessibleName(name);
}

std::vector<history::Input> Xfmr::typedInputs() {
    auto inputs = PanelForm::typedInputs();
    inputs.push_back({"Phase", state().KnobState[1] ? "Single Phase" : "Three Phase"});
    return inputs;
}

void Xfmr::Form_Load(bool restoreInputs) {
    if (restoreInputs) {
        TA->setText(QString::fromStdString(state().SavedXfmrInputs[0]));
        TV->setText(QString::fromStdString(state().SavedXfmrInputs[1]));
    } else {
        state().KnobState = {true, true};  // KVA from amperes, single phase
    }
    Knob[0]->show();
    Knob[1]->show();
}

void Xfmr::saveInputs() {
    state().SavedXfmrInputs = {TA->text().toStdString(), TV->text().toStdString()};
}

Outcome Xfmr::calculate() {
    state().TransformerResult.clear();
    const Inputs inputs{state().KnobState[0] ? Mode::Kva : Mode::Amperes,
                        state().KnobState[1] ? Phase::Single : Phase::Three,
                        TA->text().toStdString(), TV->text().toStdString()};
    return calculateTransformer(inputs, &state().TransformerResult);
}

}  // namespace voltaro::calc::transformer
