#include "calc/ground/groundfrm.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>

#include "calc/ground/ground_ocp.h"
#include "shell/image_button.h"
#include "shell/panel_style.h"

namespace voltaro::calc::ground {

namespace {

namespace at = assets::layout::ground;
using namespace shell::panel_style;

const QString kDefaultAmps = QStringLiteral("20");  // what a fresh panel's box holds

}  // namespace

GndOcp::GndOcp(shell::PanelContext& context, const shell::PanelRow& row)
    : CalculatorForm(context, row) {
    L1[0] = addControl(captionLabel(QStringLiteral("L1_0"), QStringLiteral("Circuit Max Amps")),
                       at::kCaptionAmps);
    L1[1] = addControl(captionLabel(QStringLiteral("L1_1"), QStringLiteral("Conductor Type")),
                       at::kCaptionMaterial);
    TB = addControl(textBox(QStringLiteral("TB"), kDefaultAmps,
                            QStringLiteral("Enter Max Amps of Conductor After De-Rating "),
                            QStringLiteral("Circuit Max Amps")),
                    at::kAmps);
    Clist = addControl(listBox(QStringLiteral("Clist"),
                               QStringLiteral("Copper or  Aluminum/Copper Clad Conductor "),
                               QStringLiteral("Conductor Type")),
                       at::kMaterial);
    DneBut = addDneButtons(at::kDne, QStringLiteral("Calculate OCP & GND Size"), at::kX,
                           QStringLiteral("Exit Without Calculation"));

    setTabOrder(TB, Clist);
    TB->installEventFilter(this);
}

bool GndOcp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TB && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            DneBut_Click(0);
            return true;
        }
    }
    return CalculatorForm::eventFilter(watched, event);
}

void GndOcp::Form_Load(bool restoreInputs) {
    Clist->addItems({QStringLiteral("Copper"), QStringLiteral("Aluminum")});
    if (restoreInputs) {
        TB->setText(QString::fromStdString(state().SavedOcpAmps));
        Clist->setCurrentRow(std::clamp<int>(state().SavedOcpMaterial, 0, Clist->count() - 1));
    } else {
        TB->setText(kDefaultAmps);
        Clist->setCurrentRow(0);
    }
}

void GndOcp::saveInputs() {
    state().SavedOcpAmps = TB->text().toStdString();
    state().SavedOcpMaterial = static_cast<std::int16_t>(std::max(Clist->currentRow(), 0));
}

Outcome GndOcp::calculate() {
    const QListWidgetItem* material = Clist->currentItem();
    const GroundInputs inputs{TB->text().toStdString(),
                              material != nullptr ? material->text().toStdString() : ""};
    GroundSize found;
    Outcome outcome = shell::withDatabase(state(), [&](refdb::Database& db) {
        return calculateGround(db, state().NoteFlags, inputs, &found);
    });
    if (std::holds_alternative<Answer>(outcome)) {
        state().FuseSizeResult = found.fuse;
        state().GroundSizeResult = found.ground;
    }
    return outcome;
}

}  // namespace voltaro::calc::ground
