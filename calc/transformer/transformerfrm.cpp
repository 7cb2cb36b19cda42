#include "calc/transformer/transformerfrm.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "assets/resource_names.h"
#include "calc/transformer/transformer.h"
#include "shell/image_button.h"
#include "shell/panel_style.h"
#include "shell/skin.h"

namespace voltaro::calc::transformer {

namespace {

namespace at = assets::layout::transformer;
namespace bitmap = assets::program;
using namespace shell::panel_style;

void colour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace

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
    const assets::layout::Rect knobAt[] = {at::kModeKnob, at::kPhaseKnob};
    const char* const knobName[] = {"Mode: Transformer KVA or Full Load Amps",
                                    "Phase: Single or Three"};
    for (int i = 0; i < 2; ++i) {
        auto* knob = new shell::ImageButton(QStringLiteral("Knob%1").arg(i),
                                            QString::fromLatin1(knobName[i]), this);
        knob->setToolTip(QStringLiteral("Click to Toggle"));
        knob->setOutline(shell::ImageButton::Outline::Round);
        knob->installEventFilter(this);  // the arrow keys turn it
        Knob[static_cast<std::size_t>(i)] = addControl(knob, knobAt[i]);
        connect(knob, &shell::ImageButton::clicked, this, [this, i] { Knob_Click(i); });
    }
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

void Xfmr::showKnob(int index) {
    const bool on = state().KnobState[static_cast<std::size_t>(index)];
    shell::ImageButton* knob = Knob[static_cast<std::size_t>(index)];
    knob->setPicture(shell::skinPixmap(on ? bitmap::kKNOB_U : bitmap::kKNOB_D));
    ShowKnobState(index, on);
    // A screen reader names the knob by what it has chosen: "Phase: Three Phase".
    const std::size_t lit = (index == 0 ? 0 : 2) + (on ? 0 : 1);
    knob->setAccessibleName(QStringLiteral("%1: %2").arg(
        index == 0 ? QStringLiteral("Mode") : QStringLiteral("Phase"), L1[lit]->text()));
}

bool Xfmr::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (int i = 0; i < 2; ++i) {
            if (watched != Knob[static_cast<std::size_t>(i)]) continue;
            // Up or Left turns to the upper caption, Down or Right to the lower one.
            const int key = static_cast<QKeyEvent*>(event)->key();
            const bool up = key == Qt::Key_Up || key == Qt::Key_Left;
            if (!up && key != Qt::Key_Down && key != Qt::Key_Right) break;
            if (state().KnobState[static_cast<std::size_t>(i)] != up) Knob_Click(i);
            return true;
        }
    }
    return CalculatorForm::eventFilter(watched, event);
}

void Xfmr::ShowKnobState(int index, bool on) {
    const std::size_t first = index == 0 ? 0 : 2;
    colour(L1[first], on ? kLit : kUnlit);
    colour(L1[first + 1], on ? kUnlit : kLit);
    if (index != 0) return;
    // The first box keeps its text; only what it means changes.
    const QString name = on ? QStringLiteral("Full Load Amps") : QStringLiteral("Transformer KVA");
    L1[6]->setText(name);
    L1[6]->setAccessibleName(name);
    TA->setToolTip(on ? QStringLiteral("Enter Full Load Amperes")
                      : QStringLiteral("Enter Transformer KVA"));
    TA->setAccessibleName(name);
}

std::vector<history::Input> Xfmr::typedInputs() {
    auto inputs = PanelForm::typedInputs();
    inputs.push_back({"Phase", state().KnobState[1] ? "Single Phase" : "Three Phase"});
    return inputs;
}

void Xfmr::Knob_Click(int index) {
    if (isUnloaded()) return;
    bool& flag = state().KnobState[static_cast<std::size_t>(index)];
    flag = !flag;
    showKnob(index);
    playButtonSound();
}

void Xfmr::Form_Load(bool restoreInputs) {
    if (restoreInputs) {
        TA->setText(QString::fromStdString(state().SavedXfmrInputs[0]));
        TV->setText(QString::fromStdString(state().SavedXfmrInputs[1]));
    } else {
        state().KnobState = {true, true};  // KVA from amperes, single phase
    }
    showKnob(0);
    showKnob(1);
}

void Xfmr::firstTick() {
    TA->setFocus(Qt::OtherFocusReason);
    TA->selectAll();
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
