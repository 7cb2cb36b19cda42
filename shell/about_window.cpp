#include "shell/about_window.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

#include "shell/help_window.h"
#include "shell/panel_style.h"

namespace voltaro::shell {

namespace {

// The reference database's tables by name, in the order About lists them. The work tables hold
// the panels' own rows, no code.
struct KnownTable {
    const char* name;
    const char* description;
};
constexpr KnownTable kKnownTables[] = {
    {"AWG", "Table 310-16 allowable ampacities, 60, 75 and 90 C"},
    {"Copper", "Table 310-16 insulation types for copper, with their ratings"},
    {"Aluminum", "Table 310-16 insulation types for aluminum, with their ratings"},
    {"Correc1", "Table 310-16 ambient temperature correction factors"},
    {"Correc2", "Table 310-15(b)(2)(a) adjustment for more than three conductors"},
    {"FuseSize", "240-6(a) standard fuse and breaker ratings"},
    {"GndWire", "Table 250-122 equipment grounding conductors"},
    {"ConData", "Chapter 9 Tables 1 and 4 conduit areas and allowed fill"},
    {"ConType", "Chapter 9 Table 4 conduit and tubing types"},
    {"WireDim", "Chapter 9 Table 5 conductor diameters and areas"},
    {"WireType", "Chapter 9 Table 5 insulation types and their dimension rows"},
    {"Starter", "NEMA motor starter sizes by full-load amperes"},
    {"Enclosures", "NEMA enclosure types 1 to 13"},
    {"FootNotes", "The notes printed under answers"},
    {"KeepWires", ""},
    {"DragList", ""},
    {"Scratch", ""},
};

// Where a table stands in the list: the known ones in their order, any other after them.
std::size_t rank(const std::string& table) {
    std::size_t i = 0;
    while (i < std::size(kKnownTables) && table != kKnownTables[i].name) ++i;
    return i;
}

QLabel* caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(text);
    label->setAccessibleName(text);
    panel_style::caption(label);
    return label;
}

}  // namespace

QString tableDescription(const std::string& table) {
    const std::size_t i = rank(table);
    if (i == std::size(kKnownTables)) return QString::fromStdString(table);
    return QString::fromLatin1(kKnownTables[i].description);
}

Notice packageNotice() {
    QFile file(QStringLiteral(":/about/copyright"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return parseNotice(QString::fromUtf8(file.readAll()));
}

Notice parseNotice(const QString& copyrightFile) {
    // "Copyright:" and "License:" fields, the licence's text on the lines after its field, each
    // indented by a blank ("." alone is an empty line). The first of each field counts.
    Notice notice;
    const QStringList lines = copyrightFile.split(QLatin1Char('\n'));
    bool inLicence = false;
    for (const QString& line : lines) {
        if (inLicence && line.startsWith(QLatin1Char(' '))) {
            const QString text = line.trimmed();
            if (text == QLatin1String("."))
                notice.licence += QLatin1Char('\n');
            else
                notice.licence +=
                    (notice.licence.endsWith(QLatin1Char('\n')) ? QString() : QStringLiteral(" ")) +
                    text;
            continue;
        }
        inLicence = false;
        if (line.startsWith(QLatin1String("Copyright:")) && notice.copyright.isEmpty()) {
            notice.copyright = QStringLiteral("Copyright ") + line.mid(10).trimmed();
        } else if (line.startsWith(QLatin1String("License:")) && notice.licence.isEmpty()) {
            notice.licence = QStringLiteral("Licence: ") + line.mid(8).trimmed() + QLatin1Char('.');
            inLicence = true;
        }
    }
    return notice;
}

AboutWindow::AboutWindow(SharedState& state, const QString& version)
    : QWidget(nullptr, Qt::Window), state_(state) {
    setObjectName(QStringLiteral("AboutWindow"));
    setWindowTitle(QStringLiteral("About Voltaro"));
    setAccessibleName(QStringLiteral("About Voltaro"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(38, 40, 44));
    setPalette(palette);
    setAutoFillBackground(true);

    auto* name = new QLabel(QStringLiteral("VOLTARO"), this);
    name->setObjectName(QStringLiteral("AboutName"));
    name->setAccessibleName(QStringLiteral("Voltaro"));
    QFont nameFont = panel_style::glassFont();
    nameFont.setPixelSize(22);
    nameFont.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    name->setFont(nameFont);
    QPalette namePalette = name->palette();
    namePalette.setColor(QPalette::WindowText, QColor(236, 238, 240));
    name->setPalette(namePalette);
    // The drawers' amber mark before the engraved title.
    auto* mark = new QWidget(this);
    mark->setObjectName(QStringLiteral("AboutMark"));
    mark->setFixedSize(4, 24);
    mark->setStyleSheet(QStringLiteral("background: rgb(248, 190, 70);"));

    const QString versionText =
        QStringLiteral("Version %1  \u00b7  1999 NEC Code Year").arg(version);
    version_ = caption(versionText, this);
    version_->setObjectName(QStringLiteral("AboutVersion"));
    QFont versionFont = panel_style::glassFont();
    version_->setFont(versionFont);

    tables_ = new QPlainTextEdit(this);
    tables_->setObjectName(QStringLiteral("AboutTables"));
    tables_->setAccessibleName(QStringLiteral("Code tables in the reference database"));
    tables_->setReadOnly(true);
    tables_->setFrameShape(QFrame::NoFrame);
    tables_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    panel_style::glass(tables_);

    folder_ = new QLabel(this);
    folder_->setObjectName(QStringLiteral("AboutFolder"));
    folder_->setAccessibleName(QStringLiteral("Data folder"));
    panel_style::glass(folder_);
    folder_->setWordWrap(true);
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    folder_->setContentsMargins(2, 3, 2, 3);

    const Notice notice = packageNotice();
    notice_ = caption(notice.copyright + QLatin1Char('\n') + notice.licence, this);
    notice_->setObjectName(QStringLiteral("AboutNotice"));
    notice_->setAccessibleName(QStringLiteral("Copyright and licence"));
    notice_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("AboutOK"));
    ok_->setAccessibleName(QStringLiteral("OK"));
    ok_->setDefault(true);
    ok_->setFixedSize(72, 28);
    panel_style::keyButton(ok_);
    connect(ok_, &QPushButton::clicked, this, &QWidget::close);
    // Enter presses OK wherever the focus is (the tables can be scrolled by keys); Escape too.
    auto* close = new QAction(this);
    close->setShortcuts(
        {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(6);
    auto* title = new QHBoxLayout;
    title->setSpacing(9);
    title->addWidget(mark);
    title->addWidget(name, 1);
    layout->addLayout(title);
    layout->addWidget(version_);
    layout->addSpacing(6);
    layout->addWidget(caption(QStringLiteral("Code tables in the reference database"), this));
    layout->addWidget(tables_);
    layout->addSpacing(4);
    layout->addWidget(caption(QStringLiteral("Data folder"), this));
    layout->addWidget(folder_);
    layout->addSpacing(6);
    layout->addWidget(notice_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    layout->addLayout(buttons);
    setFixedWidth(460);
}

void AboutWindow::refresh() {
    QStringList lines;
    if (!state_.RefDb || !state_.RefDb->isOpen()) {
        lines << QStringLiteral("The reference database is not open.");
    } else if (auto tables = state_.RefDb->tableNames(); !tables) {
        lines << QStringLiteral("The reference database cannot be read: ") +
                     QString::fromStdString(tables.error().description);
    } else {
        std::stable_sort(tables->begin(), tables->end(),
                         [](const auto& a, const auto& b) { return rank(a) < rank(b); });
        for (const auto& table : *tables) {
            const QString description = tableDescription(table);
            if (!description.isEmpty()) lines << description;
        }
    }
    tables_->setPlainText(lines.join(QLatin1Char('\n')));
    // Tall enough for every line, so the list reads whole.
    const int lineHeight = tables_->fontMetrics().lineSpacing();
    tables_->setFixedHeight(lineHeight * int(lines.size()) + 12);
    const auto folder = state_.DataPath.parent_path();
    folder_->setText(folder.empty() ? QStringLiteral("(none yet)")
                                    : QString::fromStdString(folder.string()));
}

void AboutWindow::present(const QRect& anchor) {
    refresh();
    adjustSize();
    if (!isVisible()) placeBeside(this, anchor);
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    ok_->setFocus();
}

}  // namespace voltaro::shell
