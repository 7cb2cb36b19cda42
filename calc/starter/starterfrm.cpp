#include "calc/starter/starterfrm.h"

#include <QLabel>
#include <QLineEdit>

#include "calc/starter/starter.h"
#include "shell/image_button.h"
#include "shell/panel_style.h"

namespace voltaro::calc::starter {

namespace {

namespace at = assets::layout::starter;
using namespace shell::panel_style;

// What a fresh panel's boxes hold.
const QString kDefaultAmps = QStringLiteral("20");
const QString kDefaultVolts = QStringLiteral("480");

}  // namespace

Starter::Starter(shell::PanelContext& context, const shell::PanelRow& row)
    : CalculatorForm(context, row) {
    L1[0] = addControl(captionLabel(QStringLiteral("L1_0"), QStringLiteral("Full Load Amps")),
                       at::kCaptionAmps);
    L1[1] = addControl(captionLabel(QStringLiteral("L1_1"), QStringLiteral("Voltage")),
                       at::kCaptionVolts);
    Ts = addControl(
        textBox(QStringLiteral("Ts"), kDefaultAmps, QStringLiteral("Enter Full Load Amperes"),
                QStringLiteral("Full Load Amps")),
        at::kAmps);
    Ti = addControl(textBox(QStringLiteral("Ti"), kDefaultVolts,
                            QStringLiteral("Enter 3 Phase Volts"), QStringLiteral("Voltage")),
                    at::kVolts);
    DneBut = addDneButtons(at::kDne, QStringLiteral("Calculate Starter Size"), at::kX,
                           QStringLiteral("Exit Without Calculation"));
    pairBoxes(Ts, Ti);
}

void Starter::Form_Load(bool restoreInputs) {
    Ts->setText(restoreInputs ? QString::fromStdString(state().SavedStarterInputs[0])
                              : kDefaultAmps);
    Ti->setText(restoreInputs ? QString::fromStdString(state().SavedStarterInputs[1])
                              : kDefaultVolts);
}

void Starter::saveInputs() {
    state().SavedStarterInputs = {Ts->text().toStdString(), Ti->text().toStdString()};
}

Outcome Starter::calculate() {
    const Inputs inputs{Ts->text().toStdString(), Ti->text().toStdString()};
    state().StarterSize.clear();
    return shell::withDatabase(state(), [&](refdb::Database& db) {
        return calculateStarter(db, inputs, &state().StarterSize);
    });
}

}  // namespace voltaro::calc::starter
