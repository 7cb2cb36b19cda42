#include "calc/motor/motorfrm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "calc/motor/motor.h"
#include "shell/image_button.h"
#include "shell/panel_style.h"

namespace voltaro::calc::motor {

namespace at = assets::layout::motor;
using namespace shell::panel_style;

MotorFrm::MotorFrm(shell::PanelContext& context, const shell::PanelRow& row)
    : CalculatorForm(context, row) {
    const char* const captions[] = {"Single Phase", "Three Phase", "Horsepower", "Volts"};
    const assets::layout::Rect captionAt[] = {at::kCaptionSingle, at::kCaptionThree, at::kCaptionHp,
                                              at::kCaptionVolts};
    for (std::size_t i = 0; i < L1.size(); ++i)
        L1[i] = addControl(
            captionLabel(QStringLiteral("L1_%1").arg(i), QString::fromLatin1(captions[i])),
            captionAt[i]);
    Knob = addKnob(at::kPhaseKnob, QStringLiteral("Knob"), QStringLiteral("Phase"), {L1[0], L1[1]},
                   singlePhase_, [this] { listRatings(); });
    Hp = addControl(
        comboBox(QStringLiteral("Hp"), true, QStringLiteral("Pick or Type the Motor Horsepower"),
                 QStringLiteral("Horsepower")),
        at::kHp);
    TV = addControl(textBox(QStringLiteral("TV"), QString(), QStringLiteral("Enter Supply Volts"),
                            QStringLiteral("Volts")),
                    at::kVolts);
    addDneButtons(at::kDne, QStringLiteral("Calculate Motor Full Load Current"), at::kX,
                  QStringLiteral("Exit Without Calculation"));
    setTabOrder(Knob->button(), Hp);
    setTabOrder(Hp, TV);
    chainBoxes({Hp, TV});  // only the button (or Ctrl+Return) calculates
}

void MotorFrm::listRatings() {
    const Phase phase = singlePhase_ ? Phase::Single : Phase::Three;
    auto ratings =
        shell::withDatabase(state(), [&](refdb::Database& db) { return horsepowers(db, phase); });
    const QString typed = Hp->currentText();
    Hp->clear();
    if (auto* failure = std::get_if<Failure>(&ratings)) {
        listFailure_ = *failure;
    } else {
        listFailure_.reset();
        for (const auto& rating : std::get<std::vector<std::string>>(ratings))
            Hp->addItem(QString::fromStdString(rating));
    }
    Hp->setCurrentIndex(Hp->findText(typed));
    Hp->setEditText(typed);
}

void MotorFrm::Form_Load(bool restoreInputs) {
    std::vector<std::string> kept;
    if (restoreInputs) kept = state().SavedInputs[info().number];
    state().SavedInputs.erase(info().number);
    if (kept.size() != 3) {
        const Inputs fresh;
        kept = {fresh.phase == Phase::Single ? "1" : "0", fresh.hp, fresh.volts};
    }
    singlePhase_ = kept[0] == "1";
    Hp->setEditText(QString::fromStdString(kept[1]));
    Knob->show();
    TV->setText(QString::fromStdString(kept[2]));
}

void MotorFrm::saveInputs() {
    state().SavedInputs[info().number] = {singlePhase_ ? "1" : "0", Hp->currentText().toStdString(),
                                          TV->text().toStdString()};
}

Outcome MotorFrm::calculate() {
    if (listFailure_) return *listFailure_;
    const Inputs in{Hp->currentText().toStdString(), singlePhase_ ? Phase::Single : Phase::Three,
                    TV->text().toStdString()};
    return shell::withDatabase(state(),
                               [&](refdb::Database& db) { return calculateMotor(db, in); });
}

}  // namespace voltaro::calc::motor
