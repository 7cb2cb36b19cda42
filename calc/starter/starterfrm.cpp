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

}  // namespace

Starter::Starter(shell::PanelContext& context)
    : PanelForm(context, shell::panelInfo(shell::kStarterPanel)) {
    L1[0] = addControl(captionLabel(QStringLiteral("L1_0"), QStringLiteral("Full Load Amps")),
                       at::kCaptionAmps);
    L1[1] = addControl(captionLabel(QStringLiteral("L1_1"), QStringLiteral("Voltage")),
                       at::kCaptionVolts);
    Ts = addControl(
        textBox(QStringLiteral("Ts"), QStringLiteral("20"),
                QStringLiteral("Enter Full Load Amperes"), QStringLiteral("Full Load Amps")),
        at::kAmps);
    Ti = addControl(textBox(QStringLiteral("Ti"), QStringLiteral("480"),
                            QStringLiteral("Enter 3 Phase Volts"), QStringLiteral("Voltage")),
                    at::kVolts);
    DneBut = addDneButtons(at::kDne, QStringLiteral("Calculate Starter Size"), at::kX,
                           QStringLiteral("Exit Without Calculation"),
                           [this](int i) { DneBut_Click(i); });
    pairBoxes(Ts, Ti);
}

void Starter::Form_Load(bool restoreInputs) {
    Ts->setText(restoreInputs ? QString::fromStdString(state().SavedStarterInputs[0])
                              : QStringLiteral("20"));
    Ti->setText(restoreInputs ? QString::fromStdString(state().SavedStarterInputs[1])
                              : QStringLiteral("480"));
}

void Starter::firstTick() {
    Ts->selectAll();
    Ts->setFocus(Qt::OtherFocusReason);
}

void Starter::saveInputs() {
    state().SavedStarterInputs = {Ts->text().toStdString(), Ti->text().toStdString()};
}

void Starter::DneBut_Click(int index) {
    if (isUnloaded()) return;
    playButtonSound();
    if (index == 0) {
        const Inputs inputs{Ts->text().toStdString(), Ti->text().toStdString()};
        state().StarterSize.clear();
        const Outcome outcome = shell::withDatabase(state(), [&](refdb::Database& db) {
            return calculateStarter(db, inputs, &state().StarterSize);
        });
        if (const auto* failure = std::get_if<Failure>(&outcome)) {
            if (!showError(failure->message)) return;
            state().ErrorShown = false;
            return;
        }
        if (!publish(std::get<Answer>(outcome))) return;
    }
    if (!beginClosing()) return;
    closePanel();
}

}  // namespace voltaro::calc::starter
