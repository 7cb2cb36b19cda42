#include "calc/vdrop/vdropfrm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>

#include "shell/image_button.h"
#include "shell/panel_style.h"

namespace voltaro::calc::vdrop {

namespace {

namespace at = assets::layout::vdrop;
using namespace shell::panel_style;

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
std::string text(const QLineEdit* box) { return box->text().toStdString(); }
int row(const QListWidget* list) { return std::max(list->currentRow(), 0); }

// The boxes top to bottom: object name, caption, tool tip.
struct BoxText {
    const char* caption;
    const char* toolTip;
};
constexpr BoxText kBoxes[] = {
    {"Volts", "Enter Supply Volts"},
    {"Amps", "Enter Load Amperes"},
    {"Length (ft, one way)", "Enter One-Way Length in Feet"},
    {"Power Factor", "Enter Power Factor, 0 to 1 (AC Only)"},
    {"Limit (%)", "Enter Largest Drop Allowed, Percent of Supply Volts"},
};

}  // namespace

VDropFrm::VDropFrm(shell::PanelContext& context, const shell::PanelRow& row)
    : CalculatorForm(context, row) {
    struct Caption {
        const char* text;
        assets::layout::Rect at;
    };
    const Caption captions[] = {{"System", at::kCaptionSystem},
                                {"Material", at::kCaptionMaterial},
                                {"Conduit", at::kCaptionConduit},
                                {"Conductor Size", at::kCaptionSize}};
    for (std::size_t i = 0; i < std::size(captions); ++i)
        L1[i] = addControl(
            captionLabel(QStringLiteral("L1_%1").arg(i), QString::fromLatin1(captions[i].text)),
            captions[i].at);
    for (std::size_t i = 0; i < TB.size(); ++i)
        L1[4 + i] = addControl(captionLabel(QStringLiteral("L1_%1").arg(4 + i),
                                            QString::fromLatin1(kBoxes[i].caption)),
                               at::kCaptionBox[i]);

    Lst[0] = addControl(listBox(QStringLiteral("Lst0"), QStringLiteral("Single, Three Phase or DC"),
                                QStringLiteral("System")),
                        at::kSystem);
    Lst[1] = addControl(listBox(QStringLiteral("Lst1"), QStringLiteral("Conductor Material"),
                                QStringLiteral("Material")),
                        at::kMaterial);
    Lst[2] = addControl(listBox(QStringLiteral("Lst2"), QStringLiteral("Conduit (AC Only)"),
                                QStringLiteral("Conduit")),
                        at::kConduit);
    for (System s : {System::Single, System::Three, System::Dc}) Lst[0]->addItem(qt(systemName(s)));
    for (Material m : {Material::Copper, Material::Aluminum}) Lst[1]->addItem(qt(materialName(m)));
    for (Conduit c : {Conduit::Pvc, Conduit::Aluminum, Conduit::Steel})
        Lst[2]->addItem(qt(conduitName(c)));
    Sz = addControl(comboBox(QStringLiteral("Sz"), false, QStringLiteral("Conductor Size"),
                             QStringLiteral("Size")),
                    at::kConductorSize);
    for (std::size_t i = 0; i < TB.size(); ++i) {
        TB[i] = addControl(
            textBox(QStringLiteral("TB%1").arg(i), QString(),
                    QString::fromLatin1(kBoxes[i].toolTip), QString::fromLatin1(kBoxes[i].caption)),
            at::kBox[i]);
    }
    addDneButtons(at::kDne, QStringLiteral("Calculate Voltage Drop"), at::kX,
                  QStringLiteral("Exit Without Calculation"));

    QWidget* order[] = {Lst[0], Lst[1], Lst[2], Sz, TB[0], TB[1], TB[2], TB[3], TB[4]};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    chainBoxes({TB.begin(), TB.end()});  // only the button (or Ctrl+Return) calculates
    for (std::size_t i = 0; i < 2; ++i)
        connect(Lst[i], &QListWidget::currentRowChanged, this, [this] {
            if (!loading_) fillSizes(Sz->currentText());
        });
}

void VDropFrm::fillSizes(const QString& size) {
    const Inputs in = inputs();
    auto listed = shell::withDatabase(
        state(), [&](refdb::Database& db) { return sizes(db, in.system, in.material); });
    Sz->clear();
    if (auto* failure = std::get_if<Failure>(&listed)) {
        listFailure_ = *failure;
    } else {
        listFailure_.reset();
        for (const auto& entry : std::get<std::vector<std::string>>(listed))
            Sz->addItem(QString::fromStdString(entry));
    }
    int found = Sz->findText(size);
    if (found < 0) found = Sz->findText(QString::fromStdString(Inputs{}.size));
    Sz->setCurrentIndex(std::max(found, Sz->count() > 0 ? 0 : -1));
    // DC reads Table 8: neither the conduit nor the power factor plays a part.
    const bool ac = in.system != System::Dc;
    for (QWidget* w : std::initializer_list<QWidget*>{Lst[2], L1[2], TB[3], L1[7]})
        w->setEnabled(ac);
}

Inputs VDropFrm::inputs() const {
    Inputs in;
    in.system = static_cast<System>(row(Lst[0]));
    in.material = static_cast<Material>(row(Lst[1]));
    in.conduit = static_cast<Conduit>(row(Lst[2]));
    in.size = Sz->currentText().toStdString();
    in.volts = text(TB[0]);
    in.amps = text(TB[1]);
    in.length = text(TB[2]);
    in.pf = text(TB[3]);
    in.limit = text(TB[4]);
    return in;
}

void VDropFrm::Form_Load(bool restoreInputs) {
    std::vector<std::string> kept;
    if (restoreInputs) kept = state().SavedInputs[info().number];
    state().SavedInputs.erase(info().number);
    if (kept.size() != 9) {
        const Inputs fresh;
        kept = {"0",        "0",          "2",      fresh.size, fresh.volts,
                fresh.amps, fresh.length, fresh.pf, fresh.limit};
    }
    loading_ = true;
    for (std::size_t i = 0; i < Lst.size(); ++i)
        Lst[i]->setCurrentRow(
            std::clamp(QString::fromStdString(kept[i]).toInt(), 0, Lst[i]->count() - 1));
    loading_ = false;
    fillSizes(QString::fromStdString(kept[3]));
    for (std::size_t i = 0; i < TB.size(); ++i) TB[i]->setText(QString::fromStdString(kept[4 + i]));
}

void VDropFrm::saveInputs() {
    const Inputs in = inputs();
    state().SavedInputs[info().number] = {std::to_string(row(Lst[0])),
                                          std::to_string(row(Lst[1])),
                                          std::to_string(row(Lst[2])),
                                          in.size,
                                          in.volts,
                                          in.amps,
                                          in.length,
                                          in.pf,
                                          in.limit};
}

Outcome VDropFrm::calculate() {
    if (listFailure_) return *listFailure_;
    const Inputs in = inputs();
    return shell::withDatabase(state(),
                               [&](refdb::Database& db) { return calculateVoltageDrop(db, in); });
}

void VDropFrm::leaving() {
    // The lists stay behind; the drawer slides back with their wells empty.
    for (QWidget* w : std::initializer_list<QWidget*>{Lst[0], Lst[1], Lst[2], Sz}) w->hide();
}

}  // namespace voltaro::calc::vdrop
