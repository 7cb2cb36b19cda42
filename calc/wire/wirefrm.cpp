#include "calc/wire/wirefrm.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>

#include "calc/wire/kept_wires.h"
#include "calc/wire/wire_size.h"
#include "shell/image_button.h"
#include "shell/panel_style.h"

namespace voltaro::calc::wire {

namespace {

namespace at = assets::layout::wire;
using namespace shell::panel_style;

constexpr int kCopperStart = 11;   // the copper list opens on THHN
constexpr int kAluminumStart = 7;  // and so does the aluminum list

QString qt(const std::string& text) { return QString::fromStdString(text); }
std::string text(const QLineEdit* box) { return box->text().toStdString(); }

// A list box sorts its entries by itself, as the eye reads them: letters alike in either case.
void sortLikeAListBox(std::vector<std::string>& entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return qt(a).compare(qt(b), Qt::CaseInsensitive) < 0;
    });
}

// A position that the list holds: the nearest one there is, -1 for an empty list.
int within(const QListWidget* list, int position) {
    return std::clamp(position, list->count() > 0 ? 0 : -1, list->count() - 1);
}

}  // namespace

WireFrm::WireFrm(shell::PanelContext& context, const shell::PanelRow& row)
    : CalculatorForm(context, row) {
    const char* const captions[] = {"Full Load Amps", "Insulation Type / Rating",
                                    "Current Carrying Conductors in Conduit", "Ambient Temp in C",
                                    "Conductor Type"};
    const assets::layout::Rect captionAt[] = {at::kCaptionAmps, at::kCaptionInsulation,
                                              at::kCaptionConductors, at::kCaptionAmbient,
                                              at::kCaptionMaterial};
    for (int i = 0; i < 5; ++i)
        L1[static_cast<std::size_t>(i)] = addControl(
            captionLabel(QStringLiteral("L1_%1").arg(i), QString::fromLatin1(captions[i])),
            captionAt[i]);

    TB[0] = addControl(
        textBox(QStringLiteral("TB0"), QStringLiteral("20"),
                QStringLiteral("Enter Full Load Amperes"), QStringLiteral("Full Load Amps")),
        at::kAmps);
    Lst[0] = addControl(listBox(QStringLiteral("Lst0"), QStringLiteral("Conductor Material"),
                                QStringLiteral("Conductor Type")),
                        at::kMaterial);
    Lst[1] = addControl(listBox(QStringLiteral("Lst1"), QStringLiteral("Conductor Insulation Type"),
                                QStringLiteral("Insulation Type")),
                        at::kInsulation);
    TB[1] = addControl(textBox(QStringLiteral("TB1"), QStringLiteral("3"),
                               QStringLiteral("Number of Current Carrying Conductors in Conduit"),
                               QStringLiteral("Current Carrying Conductors in Conduit")),
                       at::kConductors);
    TB[2] = addControl(
        textBox(QStringLiteral("TB2"), QStringLiteral("30"),
                QStringLiteral("Ambient Temp of Conductors"), QStringLiteral("Ambient Temp in C")),
        at::kAmbient);
    LB = addControl(valueLabel(QStringLiteral("LB"), QStringLiteral("90 C"),
                               QStringLiteral("Temp Rating of Selected Conductor"),
                               QStringLiteral("Insulation Temp Rating")),
                    at::kRating);
    DneBut = addDneButtons(at::kDne, QStringLiteral("Calculate Minimum Conductor Size"), at::kX,
                           QStringLiteral("Exit Without Calculation"));

    setTabOrder(TB[0], Lst[0]);
    setTabOrder(Lst[0], Lst[1]);
    setTabOrder(Lst[1], TB[1]);
    setTabOrder(TB[1], TB[2]);
    for (QLineEdit* box : TB) box->installEventFilter(this);
    for (int i = 0; i < 2; ++i)
        connect(Lst[static_cast<std::size_t>(i)], &QListWidget::currentRowChanged, this,
                [this, i](int row) {
                    if (row >= 0) Lst_Click(i);
                });
}

std::string WireFrm::material() const {
    const QListWidgetItem* item = Lst[0]->currentItem();
    return item != nullptr ? item->text().toStdString() : std::string();
}

std::string WireFrm::insulation() const {
    const QListWidgetItem* item = Lst[1]->currentItem();
    return item != nullptr ? item->text().toStdString() : std::string();
}

void WireFrm::FillInsulList(const std::string& material) {
    auto types = shell::withDatabase(
        state(), [&](refdb::Database& db) { return insulationTypes(db, material); });
    Lst[1]->clear();
    if (auto* failure = std::get_if<Failure>(&types)) {
        listFailure_ = *failure;
        return;
    }
    listFailure_.reset();
    auto& entries = std::get<std::vector<std::string>>(types);
    sortLikeAListBox(entries);
    for (const auto& entry : entries) Lst[1]->addItem(qt(entry));
}

void WireFrm::ShowTempRating() {
    auto rating = shell::withDatabase(state(), [&](refdb::Database& db) {
        return wire::ShowTempRating(db, material(), insulation());
    });
    if (auto* failure = std::get_if<Failure>(&rating)) {
        listFailure_ = *failure;
        LB->clear();
        return;
    }
    const auto& caption = std::get<std::optional<std::string>>(rating);
    LB->setText(caption ? qt(*caption) : QString());
}

void WireFrm::Lst_Click(int index) {
    if (PanelLoading) return;
    if (index == 1) {
        ShowTempRating();
        return;
    }
    FillInsulList(material());
    // Selecting the type raises the insulation list's own click, which shows its rating.
    Lst[1]->setCurrentRow(within(Lst[1], material() == "Copper" ? kCopperStart : kAluminumStart));
}

void WireFrm::convertAmbient() {
    const std::string converted = ConvertFahrenheit(text(TB[2]));
    if (converted != text(TB[2])) TB[2]->setText(qt(converted));
}

bool WireFrm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* press = static_cast<QKeyEvent*>(event);
        const int key = press->key();
        // Enter in any box goes back to the load box; the button (or Ctrl+Return) calculates.
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            !press->modifiers().testFlag(Qt::ControlModifier)) {
            TB[0]->setFocus(Qt::OtherFocusReason);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && watched == TB[2]) {
        // Leaving the box for another control of the panel; not the panel losing the foreground.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            convertAmbient();
    }
    return CalculatorForm::eventFilter(watched, event);
}

void WireFrm::Form_Load(bool restoreInputs) {
    PanelLoading = true;
    FillInsulList("Copper");
    Lst[0]->addItems({QStringLiteral("Copper"), QStringLiteral("Aluminum")});
    std::optional<KeptWires> kept;
    if (restoreInputs && state().RefDb) {
        // An unreadable table restores nothing: the panel opens as a fresh one.
        auto taken = takeKeptWires(*state().RefDb);
        if (taken) kept = *taken;
    }
    if (kept) {
        TB[0]->setText(qt(kept->amps));
        Lst[0]->setCurrentRow(within(Lst[0], kept->material));
        if (material() != "Copper") FillInsulList(material());
        InsulStartIndex = kept->insul;
        TB[1]->setText(qt(kept->wires));
        TB[2]->setText(qt(kept->temp));
    } else {
        InsulStartIndex = kCopperStart;
        Lst[0]->setCurrentRow(0);
    }
    PanelLoading = false;
}

void WireFrm::firstTick() {
    const int row = within(Lst[1], InsulStartIndex);
    if (row == Lst[1]->currentRow()) ShowTempRating();
    Lst[1]->setCurrentRow(row);
    if (QListWidgetItem* item = Lst[1]->currentItem())
        Lst[1]->scrollToItem(item, QAbstractItemView::PositionAtCenter);
    TB[0]->setFocus(Qt::OtherFocusReason);
    TB[0]->selectAll();
}

void WireFrm::saveInputs() {
    if (!state().RefDb) return;
    // The user is in another program: a table that cannot be written loses these inputs, and the
    // panel opens fresh next time.
    (void)keepWires(
        *state().RefDb,
        {text(TB[0]), static_cast<std::int16_t>(std::max(Lst[0]->currentRow(), 0)),
         static_cast<std::int16_t>(std::max(Lst[1]->currentRow(), 0)), text(TB[1]), text(TB[2])});
}

Outcome WireFrm::calculate() {
    WireSizeResult.clear();
    // The image takes no focus, so a Fahrenheit entry may still stand in the ambient box.
    convertAmbient();
    WireInputs inputs{text(TB[0]), material(), insulation(), LB->text().toStdString(),
                      text(TB[1]), text(TB[2])};
    WireSize found;
    Outcome outcome =
        listFailure_ ? Outcome(*listFailure_)
                     : shell::withDatabase(state(), [&](refdb::Database& db) {
                           return calculateWire(db, state().NoteFlags, inputs,
                                                state().OptionFlags[shell::kTerminalAuto], &found);
                       });
    if (std::holds_alternative<Answer>(outcome)) {
        WireSizeResult = found.size;
        DeRatedAmps = found.deRatedAmps;
        CircuitMaxAmps = found.circuitMaxAmps;
    }
    return outcome;
}

void WireFrm::leaving() {
    // The lists stay behind; the drawer slides back with their wells empty.
    Lst[0]->hide();
    Lst[1]->hide();
}

}  // namespace voltaro::calc::wire
