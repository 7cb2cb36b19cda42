#include "calc/conduit/selcond.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

#include "assets/layout.h"
#include "assets/resource_names.h"
#include "calc/conduit/fill_data.h"
#include "platform/foreground.h"
#include "shell/panel_style.h"
#include "shell/skin.h"

namespace voltaro::calc::conduit {

namespace {

namespace at = assets::layout::selcond;

// The dialog shrinks away in this many even steps.
constexpr int kSteps = 100;

// The dialog's controls sit at their rectangles, without a layout, so that it can grow from and
// shrink to a point.
void place(QWidget* control, QWidget* dialog, const assets::layout::Rect& r) {
    control->setParent(dialog);
    control->setGeometry(r.x, r.y, r.w, r.h);
}

}  // namespace

SelCond::SelCond(shell::SharedState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), state_(state) {
    setObjectName(QStringLiteral("SelCond"));
    setWindowTitle(QStringLiteral("Conduit Type"));
    setAccessibleName(QStringLiteral("Select a new type of Conduit"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(at::kSize.w, at::kSize.h);

    Label1[0] = new QLabel(QStringLiteral("Select a new type of Conduit"), this);
    Label1[0]->setObjectName(QStringLiteral("Label1_0"));
    Label1[0]->setAccessibleName(Label1[0]->text());
    shell::panel_style::caption(Label1[0]);
    QFont bold = shell::panel_style::glassFont();
    Label1[0]->setFont(bold);
    place(Label1[0], this, at::kHeading);

    Label1[1] = shell::panel_style::valueLabel(QStringLiteral("Label1_1"), QString(), QString(),
                                               QStringLiteral("Chosen Conduit Type"));
    Label1[1]->setTextFormat(Qt::PlainText);
    place(Label1[1], this, at::kAbbr);

    List1 = shell::panel_style::listBox(QStringLiteral("List1"), QString(),
                                        QStringLiteral("Conduit Types"));
    place(List1, this, at::kTypes);
    connect(List1, &QListWidget::currentRowChanged, this, &SelCond::List1_Click);
    connect(List1, &QListWidget::itemDoubleClicked, this, &SelCond::OK_Click);

    OK = new QPushButton(QStringLiteral("O&K"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setAccessibleName(QStringLiteral("OK"));
    shell::panel_style::keyButton(OK);
    OK->setDefault(true);
    OK->setAutoDefault(true);
    OK->installEventFilter(this);
    place(OK, this, at::kOk);
    connect(OK, &QPushButton::clicked, this, &SelCond::OK_Click);
}

std::optional<calc::Failure> SelCond::Form_Load() {
    Label1[1]->setText(QString::fromLatin1(state_.ConduitAbbr.c_str()));
    auto types = shell::withDatabase(state_, [](refdb::Database& db) { return conduitTypes(db); });
    if (auto* failure = std::get_if<calc::Failure>(&types)) return *failure;
    for (const ConduitType& type : std::get<std::vector<ConduitType>>(types)) {
        List1->addItem(QString::fromLatin1(type.name.c_str()));
        List2.push_back(type.abbr);
    }
    // The type the program has is the one selected, so that OK without a click keeps its name
    // as well as its abbreviation.
    const auto current = std::find(List2.begin(), List2.end(), state_.ConduitAbbr);
    if (current != List2.end()) List1->setCurrentRow(static_cast<int>(current - List2.begin()));
    List1->setFocus(Qt::OtherFocusReason);
    return std::nullopt;
}

void SelCond::List1_Click() {
    const int row = List1->currentRow();
    if (row < 0 || row >= static_cast<int>(List2.size())) return;
    Label1[1]->setText(QString::fromLatin1(List2[static_cast<std::size_t>(row)].c_str()));
}

void SelCond::OK_Click() {
    if (closing_) return;
    closing_ = true;
    const QSize design = size();
    state_.ConduitAbbr = Label1[1]->text().toLatin1().toStdString();
    const auto selected = List1->selectedItems();
    state_.ConduitName =
        selected.isEmpty() ? std::string() : selected.front()->text().toLatin1().toStdString();
    for (int c = kSteps; c >= 1; --c) {
        resize(std::max(1, design.width() * c / kSteps), std::max(1, design.height() * c / kSteps));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    done(QDialog::Accepted);
}

void SelCond::unload() {
    closing_ = true;
    done(QDialog::Accepted);
}

void SelCond::recordForeground() {
    if (state_.ErrorWindowOpen) state_.ErrorForeground = platform::foregroundWindow();
}

bool SelCond::event(QEvent* event) {
    // The panel watch must not take the dialog for another program.
    if (event->type() == QEvent::WindowActivate) recordForeground();
    return QDialog::event(event);
}

bool SelCond::eventFilter(QObject* watched, QEvent* event) {
    if (watched == OK && event->type() == QEvent::FocusIn) recordForeground();
    return QDialog::eventFilter(watched, event);
}

void SelCond::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, shell::skinPixmap(assets::program::kSELCOND));
}

}  // namespace voltaro::calc::conduit
