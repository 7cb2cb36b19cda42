#include "calc/enclosure/enclosefrm.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <utility>

#include "assets/resource_names.h"
#include "calc/enclosure/enclosure.h"
#include "shell/image_button.h"
#include "shell/panel_style.h"

namespace voltaro::calc::enclosure {

namespace {

namespace at = assets::layout::enclosure;

// The scroll bar on the drawer: a dark groove, a green thumb, two grey arrow keys.
const char* const kScrollSheet =
    "QScrollBar:horizontal { background: rgb(17, 18, 20); height: 17px; margin: 0px 18px; }"
    "QScrollBar::handle:horizontal { background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,"
    "  stop: 0 rgb(0, 160, 0), stop: 1 rgb(0, 104, 0)); border: 1px solid rgb(0, 60, 0);"
    "  border-radius: 3px; min-width: 14px; }"
    "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal { width: 17px;"
    "  background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 rgb(84, 88, 95),"
    "  stop: 1 rgb(46, 48, 53)); border: 1px solid rgb(10, 10, 12); border-radius: 3px;"
    "  subcontrol-origin: margin; }"
    "QScrollBar::add-line:horizontal { subcontrol-position: right; }"
    "QScrollBar::sub-line:horizontal { subcontrol-position: left; }"
    "QScrollBar::add-line:horizontal:pressed, QScrollBar::sub-line:horizontal:pressed {"
    "  background: rgb(30, 32, 36); }"
    "QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal { background: none; }";

// The scroll bar with its arrows drawn over the styled keys: yellow, dimmed at the end they
// cannot pass. The left and right arrow keys step back and on (a scroll bar's own keys run the
// other way round, as its wheel does).
class ArrowScrollBar : public QScrollBar {
public:
    ArrowScrollBar() : QScrollBar(Qt::Horizontal) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Left)
            triggerAction(SliderSingleStepSub);
        else if (event->key() == Qt::Key_Right)
            triggerAction(SliderSingleStepAdd);
        else
            QScrollBar::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent* event) override {
        QScrollBar::paintEvent(event);
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        const qreal key = height(), mid = height() / 2.0;
        const auto arrow = [&](qreal tip, qreal back, bool live) {
            p.setBrush(live ? shell::panel_style::kGlassText : QColor(110, 112, 80));
            p.drawPolygon(
                QPolygonF({QPointF(tip, mid), QPointF(back, mid - 4.5), QPointF(back, mid + 4.5)}));
        };
        arrow(key / 2 - 3, key / 2 + 2.5, value() > minimum());
        arrow(width() - key / 2 + 3, width() - key / 2 - 2.5, value() < maximum());
        if (hasFocus()) {  // the groove framed in the focus amber
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(shell::panel_style::kFocusRing, 1));
            p.drawRect(QRectF(key + 1.5, 0.5, width() - 2 * key - 3, height() - 1));
        }
    }
};

}  // namespace

Enclose::Enclose(shell::PanelContext& context, const shell::PanelRow& row)
    : CalculatorForm(context, row) {
    static constexpr const char* kCaptions[] = {"Nema  Enclosure Type", "NEMA Type Description"};
    static constexpr const assets::layout::Rect kCaptionAt[] = {at::kCaptionType,
                                                                at::kCaptionDescription};
    for (int i = 0; i < 2; ++i)
        L1[i] = addControl(shell::panel_style::captionLabel(QStringLiteral("L1_%1").arg(i),
                                                            QLatin1String(kCaptions[i])),
                           kCaptionAt[i]);

    L2 = shell::panel_style::valueLabel(QStringLiteral("L2"), QStringLiteral("1"),
                                        QStringLiteral("Use Arrows to Scroll"),
                                        QStringLiteral("NEMA Enclosure Type"));
    L2->setAccessibleDescription(QStringLiteral("Use Arrows to Scroll"));
    L2->setTextFormat(Qt::PlainText);
    addControl(L2, at::kType);

    Scrol1 = new ArrowScrollBar;
    Scrol1->setObjectName(QStringLiteral("Scrol1"));
    Scrol1->setAccessibleName(QStringLiteral("NEMA Enclosure Number"));
    Scrol1->setAccessibleDescription(QStringLiteral("Left and Right step through the NEMA types"));
    Scrol1->setFocusPolicy(Qt::StrongFocus);  // the arrow keys step too
    Scrol1->setSingleStep(1);
    Scrol1->setPageStep(1);
    Scrol1->setStyleSheet(QString::fromLatin1(kScrollSheet));
    addControl(Scrol1, at::kScroll);
    connect(Scrol1, &QScrollBar::valueChanged, this, &Enclose::Scrol1_Change);

    DescT = new QPlainTextEdit(QStringLiteral("General Purpose, Indoor"));
    DescT->setObjectName(QStringLiteral("DescT"));
    DescT->setAccessibleName(QStringLiteral("NEMA Type Description"));
    DescT->setAccessibleDescription(QStringLiteral("Where the NEMA type shown may be used"));
    // The description is the code table's: it can be read and copied, not changed, so what
    // select reports is what the table holds.
    DescT->setReadOnly(true);
    DescT->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    shell::panel_style::glass(DescT);
    // Five lines of up to 27 characters fit the box in the glass colours at 11 pixels.
    QFont font = shell::panel_style::glassFont();
    font.setPixelSize(11);
    font.setBold(false);
    DescT->setFont(font);
    DescT->document()->setDocumentMargin(2);
    addControl(DescT, at::kDescription);

    addDneButtons(at::kDne, QStringLiteral("Select This NEMA Type"), at::kX,
                  QStringLiteral("Exit Without Selection"));
}

void Enclose::Form_Load(bool restoreInputs) {
    loading_ = true;
    auto count =
        shell::withDatabase(state(), [](refdb::Database& db) { return enclosureCount(db); });
    if (const auto* failure = std::get_if<calc::Failure>(&count)) loadFailure_ = failure->message;
    const int rows = std::holds_alternative<int>(count) ? std::get<int>(count) : 1;
    {
        const QSignalBlocker quiet(Scrol1);
        Scrol1->setRange(1, std::max(rows, 1));
        Scrol1->setValue(restoreInputs ? state().SavedEnclosure : 1);
    }
    // The entry shown comes from the table from the start, so that selecting it at once reports
    // the table's five lines.
    if (loadFailure_.empty()) Scrol1_Change();
    loading_ = false;
}

void Enclose::firstTick() {
    Scrol1->setFocus(Qt::OtherFocusReason);
    if (!loadFailure_.empty()) reportFailure(std::exchange(loadFailure_, {}));
}

void Enclose::saveInputs() { state().SavedEnclosure = static_cast<std::int16_t>(Scrol1->value()); }

bool Enclose::reportFailure(const std::string& message) {
    if (!showError(message)) return false;
    state().ErrorShown = false;
    return true;
}

void Enclose::Scrol1_Change() {
    const int id = Scrol1->value();
    auto found =
        shell::withDatabase(state(), [id](refdb::Database& db) { return enclosureAt(db, id); });
    if (const auto* failure = std::get_if<calc::Failure>(&found)) {
        if (loading_)
            loadFailure_ = failure->message;
        else
            reportFailure(failure->message);
        return;
    }
    const Enclosure& enclosure = std::get<Enclosure>(found);
    L2->setText(QString::fromLatin1(enclosure.nema.c_str()));
    QString lines = QString::fromLatin1(descriptionText(enclosure).c_str());
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    DescT->setPlainText(lines);
}

calc::Outcome Enclose::calculate() {
    const int id = Scrol1->value();
    auto outcome =
        shell::withDatabase(state(), [id](refdb::Database& db) { return selectEnclosure(db, id); });
    if (std::holds_alternative<calc::Answer>(outcome))
        state().DisplayText.clear();  // the display shows the selection alone
    return outcome;
}

void Enclose::leaving() { state().WorkRs.reset(); }

}  // namespace voltaro::calc::enclosure
