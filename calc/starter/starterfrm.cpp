#include "calc/starter/starterfrm.h"

#include <QEvent>
#include <QKeyEvent>
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
    const QString calculate = QStringLiteral("Calculate Starter Size");
    DneBut[0] = addDneButton(at::kDne, calculate);
    DneBut[0]->setToolTip(calculate);
    DneBut[1] = addXButton(at::kX);
    DneBut[1]->setToolTip(QStringLiteral("Exit Without Calculation"));
    DneBut[1]->setAccessibleName(QStringLiteral("Exit Without Calculation"));

    setTabOrder(Ts, Ti);
    Ts->installEventFilter(this);
    Ti->installEventFilter(this);
    for (int i = 0; i < 2; ++i)
        connect(DneBut[static_cast<std::size_t>(i)], &shell::ImageButton::clicked, this,
                [this, i] { DneBut_Click(i); });
}

bool Starter::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Ts || watched == Ti) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab ||
            key == Qt::Key_Backtab) {
            QLineEdit* other = watched == Ts ? Ti : Ts;
            other->setFocus(Qt::TabFocusReason);
            other->selectAll();
            return true;
        }
    }
    return PanelForm::eventFilter(watched, event);
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
