#include "calc/conduit/fillfrm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <limits>
#include <optional>

#include "assets/resource_names.h"
#include "calc/common/data_failure.h"
#include "calc/conduit/conduit.h"
#include "calc/conduit/fill_data.h"
#include "calc/conduit/selcond.h"
#include "shell/image_button.h"
#include "shell/panel_style.h"
#include "shell/session.h"
#include "shell/twips.h"

namespace voltaro::calc::conduit {

namespace {

namespace at = assets::layout::conduit;
namespace sound = assets::tonebank;

// The insulation type a fresh panel selects: the 37th (THHN in the 1999 tables).
constexpr std::int16_t kFreshTypeIndex = 36;

// Where the type dialog grows from: 200 twips right of and 400 twips below the panel's corner.
const QPoint kDialogCorner(shell::twipsToPixels(200), shell::twipsToPixels(400));
// The dialog grows and shrinks in this many even steps.
constexpr int kDialogSteps = 100;

QString text(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
std::string bytes(const QString& text) { return text.toLatin1().toStdString(); }

std::int16_t clampedCount(long long count) {
    return static_cast<std::int16_t>(
        std::clamp<long long>(count, 0, std::numeric_limits<std::int16_t>::max()));
}

// The drag image: the outline of the picked-up entry, with its text as far as it fits. It
// takes no mouse events, so what lies under it still decides the drop.
class DragOutline : public QWidget {
public:
    explicit DragOutline(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("LB1"));
        setAccessibleName(QStringLiteral("Dragged conductor"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFont(shell::panel_style::glassFont());
        hide();
    }
    void setText(const QString& text) { text_ = text; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect box = rect().adjusted(0, 0, -1, -1);
        p.fillRect(rect(), QColor(255, 255, 0, 48));
        p.setPen(QPen(QColor(0, 40, 0), 1));
        p.drawRect(box);
        p.setPen(QPen(shell::panel_style::kGlassText, 1, Qt::DotLine));
        p.drawRect(box);
        p.setPen(shell::panel_style::kGlassText);
        const QRect inside = rect().adjusted(2, 0, -2, 0);
        p.drawText(inside, Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(text_, Qt::ElideRight, inside.width()));
    }

private:
    QString text_;
};

}  // namespace

FillFrm::FillFrm(shell::PanelContext& context, const shell::PanelRow& row)
    : CalculatorForm(context, row) {
    static constexpr const char* kCaptions[] = {"Wire Rack",
                                                "Conduit",
                                                "Drag and Drop Conductors Between List Boxes Below",
                                                "Current Conduit Type",
                                                "Select Conductor Type",
                                                "0"};
    static constexpr const assets::layout::Rect kCaptionAt[] = {
        at::kCaptionRack, at::kCaptionConduit,    at::kCaptionDrag,
        at::kCaptionType, at::kCaptionInsulation, at::kCount};
    for (int i = 0; i < 6; ++i)
        L1[i] = addControl(shell::panel_style::captionLabel(QStringLiteral("L1_%1").arg(i),
                                                            QLatin1String(kCaptions[i])),
                           kCaptionAt[i]);
    L1[5]->setAccessibleName(QStringLiteral("Number of Conductors in Conduit"));
    L1[5]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Text1 = shell::panel_style::textBox(QStringLiteral("Text1"), QStringLiteral("EMT"),
                                        QStringLiteral("Click To Change Type"),
                                        QStringLiteral("Click To Change Type"));
    // The box shows the type; it is changed through the dialog only, so what the results log
    // calls the current type is always the type the calculation used.
    Text1->setReadOnly(true);
    Text1->setCursor(Qt::PointingHandCursor);
    Text1->setContextMenuPolicy(Qt::NoContextMenu);
    Text1->installEventFilter(this);
    addControl(Text1, at::kType);

    const auto list = [](const char* name, const char* toolTip) {
        return shell::panel_style::listBox(QLatin1String(name), QLatin1String(toolTip),
                                           QLatin1String(toolTip));
    };
    Mlist = addControl(list("Mlist", "Conductor Insulation Type"), at::kInsulation);
    List1 = addControl(list("List1", "Available Conductors"), at::kRack);
    List2 = addControl(list("List2", "Conductors in Conduit"), at::kInConduit);
    connect(Mlist, &QListWidget::currentRowChanged, this, &FillFrm::Mlist_Click);
    for (QListWidget* list : {List1, List2}) {
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
    setTabOrder(Text1, Mlist);
    setTabOrder(Mlist, List1);
    setTabOrder(List1, List2);

    LB1 = new DragOutline(this);

    addDneButtons(at::kDne, QStringLiteral("Calculate Conduit Size"), at::kX,
                  QStringLiteral("Exit Without Calculation"));
}

FillFrm::~FillFrm() { endDrag(); }

// ---- Loading and the timer ---------------------------------------------------------------------

void FillFrm::Form_Load(bool restoreInputs) {
    shell::SharedState& s = state();
    PanelLoading = true;
    FillTypeList();
    auto rows = shell::withDatabase(s, [](refdb::Database& db) { return dragList(db); });
    const auto* conductors = std::get_if<std::vector<Conductor>>(&rows);
    if (restoreInputs && conductors != nullptr && !conductors->empty()) {
        for (const Conductor& conductor : *conductors) List2->addItem(text(entryOf(conductor)));
        List2->setCurrentRow(List2->count() - 1);
        s.ConductorCount = clampedCount(List2->count());
    } else {
        s.SavedTypeIndex = kFreshTypeIndex;
        if (auto error = shell::ClearTable(s, "DragList"))
            loadFailure_ = calc::dataFailure(*error).message;
        s.ConductorCount = 0;
    }
    if (const auto* failure = std::get_if<calc::Failure>(&rows)) loadFailure_ = failure->message;
    showCount();
    PanelLoading = false;
    Text1->setText(text(s.ConduitAbbr));
}

void FillFrm::firstTick() {
    const int last = Mlist->count() - 1;
    if (last >= 0) {
        {  // selecting the position raises the click once, whether or not the row changes
            const QSignalBlocker quiet(Mlist);
            Mlist->setCurrentRow(std::min<int>(state().SavedTypeIndex, last));
        }
        Mlist_Click();
        Mlist->scrollToItem(Mlist->currentItem(), QAbstractItemView::PositionAtCenter);
    }
    if (List2->currentItem() != nullptr) List2->scrollToItem(List2->currentItem());
    List1->setFocus(Qt::OtherFocusReason);
    if (!loadFailure_.empty()) {
        const std::string message = std::exchange(loadFailure_, {});
        if (showError(message)) state().ErrorShown = false;
    }
}

void FillFrm::saveInputs() {
    endDrag();
    state().SavedTypeIndex = clampedCount(std::max(Mlist->currentRow(), 0));
}

void FillFrm::FillTypeList() {
    auto types =
        shell::withDatabase(state(), [](refdb::Database& db) { return insulationTypes(db); });
    Mlist->clear();
    if (const auto* failure = std::get_if<calc::Failure>(&types)) {
        loadFailure_ = failure->message;
        return;
    }
    for (const auto& type : std::get<std::vector<std::string>>(types)) Mlist->addItem(text(type));
}

void FillFrm::Mlist_Click() {
    if (PanelLoading || Mlist->currentItem() == nullptr) return;
    state().SelectedWireType = bytes(Mlist->currentItem()->text());
    FillGaugeList(state().SelectedWireType);
}

void FillFrm::FillGaugeList(const std::string& type) {
    auto gauges =
        shell::withDatabase(state(), [&type](refdb::Database& db) { return gaugesOf(db, type); });
    List1->clear();
    if (const auto* failure = std::get_if<calc::Failure>(&gauges)) {
        reportFailure(*failure);
        return;
    }
    for (const auto& gauge : std::get<std::vector<std::string>>(gauges))
        List1->addItem(text(gauge));
}

void FillFrm::showCount() { L1[5]->setText(QString::number(state().ConductorCount)); }

bool FillFrm::reportFailure(const calc::Failure& failure) {
    if (!showError(failure.message)) return false;
    state().ErrorShown = false;
    return true;
}

// ---- Dragging ----------------------------------------------------------------------------------

QListWidget* FillFrm::listOf(DragFrom list) const {
    return list == kRack ? List1 : list == kConduit ? List2 : nullptr;
}

FillFrm::DragFrom FillFrm::listAt(const QPoint& global) const {
    for (DragFrom list : {kRack, kConduit}) {
        const QListWidget* widget = listOf(list);
        if (widget->isVisible() && widget->rect().contains(widget->mapFromGlobal(global)))
            return list;
    }
    return kNoList;
}

void FillFrm::List_MouseDown(DragFrom list, const QPoint& at) {
    QListWidget* widget = listOf(list);
    if (widget == nullptr || isUnloaded()) return;
    endDrag();
    // The outline: over the pressed row, at the list's left edge, half the list's width wide and
    // one line of the panel's text high.
    const int h = QFontMetrics(widget->font()).height();
    const QPoint pointer = widget->viewport()->mapTo(this, at);
    LB1->setGeometry(widget->x(), pointer.y() - h / 2, widget->width() / 2, h);
    grabOffset_ = LB1->pos() - pointer;

    DragSource = list;
    DragIndex = -1;
    DragText.clear();
    if (QListWidgetItem* item = widget->itemAt(at)) {
        widget->setCurrentItem(item);
        DragIndex = widget->row(item);
        DragText = item->text();
    }
    static_cast<DragOutline*>(LB1)->setText(DragText);
    LB1->raise();
    LB1->show();
    dragging_ = true;
    QApplication::setOverrideCursor(Qt::ArrowCursor);
}

void FillFrm::List_DragOver(const QPoint& global) {
    if (!dragging_) return;
    LB1->move(mapFromGlobal(global) + grabOffset_);
    // The arrow over the two lists, the no-drop sign over the rest of the panel; beyond the panel
    // the ordinary pointer.
    const bool overPanel = rect().contains(mapFromGlobal(global));
    const Qt::CursorShape shape = listAt(global) != kNoList ? Qt::ArrowCursor
                                  : overPanel               ? Qt::ForbiddenCursor
                                                            : Qt::ArrowCursor;
    QApplication::changeOverrideCursor(shape);
}

void FillFrm::List_DragDrop(const QPoint& global) {
    if (!dragging_) return;
    const DragFrom target = listAt(global);
    endDrag();
    drop(target);
}

void FillFrm::endDrag() {
    if (!dragging_) return;
    dragging_ = false;
    LB1->hide();
    QApplication::restoreOverrideCursor();
}

void FillFrm::drop(DragFrom target) {
    if (DragIndex < 0 || isUnloaded()) return;  // nothing was picked up
    if (DragSource == kRack && target == kConduit) {
        if (!UpdateConduitList(+1)) return;
        List2->addItem(DragText + QStringLiteral(" - ") + text(state().SelectedWireType));
        List2->setCurrentRow(List2->count() - 1);
        List2->scrollToItem(List2->currentItem());
    } else if (DragSource == kConduit && target == kRack) {
        if (DragIndex >= List2->count() || List2->item(DragIndex)->text() != DragText) return;
        // Which of several equal entries goes: DragList's rows follow the list's order.
        int occurrence = 0;
        for (int i = 0; i < DragIndex; ++i) occurrence += List2->item(i)->text() == DragText;
        if (!UpdateConduitList(-1, bytes(DragText), occurrence)) return;
        delete List2->takeItem(DragIndex);
    }
}

bool FillFrm::UpdateConduitList(int delta, const std::string& removed, int occurrence) {
    shell::SharedState& s = state();
    // DragList first: when it cannot be written the list stays as it is, so the list and what the
    // calculation reads never part.
    const Conductor conductor =
        delta > 0 ? Conductor{bytes(DragText), s.SelectedWireType} : conductorOf(removed);
    auto failure = shell::withDatabase(s, [&](refdb::Database& db) -> std::optional<calc::Failure> {
        auto error = delta > 0 ? addToDragList(db, conductor)
                               : removeFromDragList(db, conductor, occurrence);
        if (error) return calc::dataFailure(*error);
        return std::nullopt;
    });
    if (failure) {
        reportFailure(*failure);
        return false;
    }
    s.ConductorCount = clampedCount(static_cast<long long>(s.ConductorCount) + delta);
    showCount();
    return true;
}

bool FillFrm::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (watched == Text1) {
        const bool clicked = type == QEvent::MouseButtonPress &&
                             static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        const auto* key = type == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
        const bool keyed =
            key != nullptr && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                               key->key() == Qt::Key_Space);
        if (clicked || keyed) {
            Text1_Click();
            return true;
        }
        return CalculatorForm::eventFilter(watched, event);
    }
    for (DragFrom list : {kRack, kConduit}) {
        QListWidget* widget = listOf(list);
        if (watched == widget->viewport()) {
            auto* mouse = dynamic_cast<QMouseEvent*>(event);
            if (mouse == nullptr) break;
            // Any button picks an entry up; the drop comes when the last button is let go.
            if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) &&
                mouse->buttons() == mouse->button()) {
                widget->setFocus(Qt::MouseFocusReason);
                List_MouseDown(list, mouse->position().toPoint());
                return true;
            }
            if (type == QEvent::MouseMove && dragging_) {
                List_DragOver(mouse->globalPosition().toPoint());
                return true;
            }
            if (type == QEvent::MouseButtonRelease && dragging_) {
                if (mouse->buttons() == Qt::NoButton)
                    List_DragDrop(mouse->globalPosition().toPoint());
                return true;
            }
            break;
        }
        if (watched == widget && type == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape && dragging_) {  // the drag is called off
                endDrag();
                return true;
            }
            const bool add = list == kRack && (key == Qt::Key_Return || key == Qt::Key_Enter ||
                                               key == Qt::Key_Insert);
            const bool remove = list == kConduit && key == Qt::Key_Delete;
            if (!add && !remove) break;
            if (!dragging_ && widget->currentItem() != nullptr) {
                DragSource = list;
                DragIndex = widget->currentRow();
                DragText = widget->currentItem()->text();
                drop(add ? kConduit : kRack);
            }
            return true;
        }
    }
    return CalculatorForm::eventFilter(watched, event);
}

// ---- The type dialog ---------------------------------------------------------------------------

void FillFrm::Text1_Click() {
    if (choosingType_ || dragging_ || isUnloaded() || !Text1->isVisible()) return;
    shell::SharedState& s = state();
    choosingType_ = true;
    NestedScope nested(*this);
    panelTimer().stop();
    SelCond dialog(s, this);
    if (auto failure = dialog.Form_Load()) {
        panelTimer().start();
        choosingType_ = false;
        reportFailure(*failure);
        return;
    }
    const QSize design = dialog.size();
    Text1->hide();
    // It grows out of a point near the panel's corner, without a pause between the steps; the
    // user's input waits until it is up. It is modal from its first showing: making a shown
    // window modal means hiding and showing it again, and the desktop may meanwhile give the
    // focus to the main window, which the modal dialog then keeps from taking it.
    dialog.setModal(true);
    dialog.move(pos() + kDialogCorner);
    dialog.resize(1, 1);
    dialog.show();
    for (int i = 1; i <= kDialogSteps; ++i) {
        dialog.resize(std::max(1, design.width() * i / kDialogSteps),
                      std::max(1, design.height() * i / kDialogSteps));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    panelTimer().start();
    s.ErrorWindowOpen = true;
    s.UnloadErrorWindow = [&dialog] { dialog.unload(); };
    // The dialog is ours from the start, not only once its button has the focus.
    s.ErrorForeground = static_cast<shell::WindowId>(dialog.winId());
    dialog_ = &dialog;
    dialog.exec();
    dialog_ = nullptr;
    s.UnloadErrorWindow = nullptr;
    if (!isUnloaded()) {
        Text1->setText(text(s.ConduitAbbr));
        Text1->show();
    }
    s.ErrorWindowOpen = false;
    choosingType_ = false;
}

// ---- Calculate and exit ------------------------------------------------------------------------

calc::Outcome FillFrm::calculate() {
    shell::SharedState& s = state();
    std::vector<std::string> entries;
    for (int i = 0; i < List2->count(); ++i) entries.push_back(bytes(List2->item(i)->text()));
    const ConduitType type{s.ConduitAbbr, s.ConduitName};
    return shell::withDatabase(
        s, [&](refdb::Database& db) { return calculateConduit(db, s.NoteFlags, type, entries); });
}

bool FillFrm::acceptsPress() const { return !dragging_; }

void FillFrm::leaving() {
    for (QWidget* input : std::initializer_list<QWidget*>{Mlist, List1, List2, Text1})
        input->hide();
    (void)shell::ClearTable(state(), "DragList");  // a row left behind is emptied by the next open
}

}  // namespace voltaro::calc::conduit
