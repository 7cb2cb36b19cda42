#include "shell/about_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <map>

#include "shell/panel_style.h"

namespace voltaro::shell {

namespace {

// The reference database's tables by name. The work tables hold the panels' own rows, no code.
const std::map<std::string, const char*>& knownTables() {
    static const std::map<std::string, const char*> tables{
        {"AWG", "Table 310-16 allowable ampacities, 60, 75 and 90 C"},
        {"Copper", "Table 310-16 insulation types for copper, with their ratings"},
        {"Aluminum", "Table 310-16 insulation types for aluminum, with their ratings"},
        {"Correc1", "Table 310-16 ambient temperature correction factors"},
        {"Correc2", "Table 310-15(b)(2)(a) adjustment for more than three conductors"},
        {"FuseSize", "240-6(a) standard fuse and breaker ratings"},
        {"GndWire", "Table 250-122 equipment grounding conductors"},
        {"WireType", "Chapter 9 Table 5 insulation types and their dimension rows"},
        {"WireDim", "Chapter 9 Table 5 conductor diameters and areas"},
        {"ConType", "Chapter 9 Table 4 conduit and tubing types"},
        {"ConData", "Chapter 9 Tables 1 and 4 conduit areas and allowed fill"},
        {"Starter", "NEMA motor starter sizes by full-load amperes"},
        {"Enclosures", "NEMA enclosure types 1 to 13"},
        {"FootNotes", "The notes printed under answers"},
        {"KeepWires", ""},
        {"DragList", ""},
        {"Scratch", ""},
    };
    return tables;
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
    const auto found = knownTables().find(table);
    if (found == knownTables().end()) return QString::fromStdString(table);
    return QString::fromLatin1(found->second);
}

Notice packageNotice() {
    // A Debian copyright file: "Copyright:" and "License:" fields, the licence's text on the
    // lines after its field, each indented by a blank ("." alone is an empty line).
    Notice notice;
    QFile file(QStringLiteral(":/about/copyright"));
    if (!file.open(QIODevice::ReadOnly)) return notice;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    bool inLicence = false;
    for (const QString& line : lines) {
        if (inLicence && line.startsWith(QLatin1Char(' '))) {
            const QString text = line.trimmed();
            notice.licence +=
                text == QLatin1String(".") ? QStringLiteral("\n") : QLatin1Char(' ') + text;
            continue;
        }
        inLicence = false;
        if (line.startsWith(QLatin1String("Copyright:"))) {
            notice.copyright = QStringLiteral("Copyright ") + line.mid(10).trimmed();
        } else if (line.startsWith(QLatin1String("License:"))) {
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
    name->setStyleSheet(QStringLiteral(
        "QLabel { color: rgb(236, 238, 240); border-left: 4px solid rgb(248, 190, 70);"
        "  padding-left: 9px; }"));

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
    tables_->setMinimumHeight(236);

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

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(6);
    layout->addWidget(name);
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
        for (const auto& table : *tables) {
            const QString description = tableDescription(table);
            if (!description.isEmpty()) lines << description;
        }
    }
    tables_->setPlainText(lines.join(QLatin1Char('\n')));
    const auto folder = state_.DataPath.parent_path();
    folder_->setText(folder.empty() ? QStringLiteral("(none yet)")
                                    : QString::fromStdString(folder.string()));
}

void AboutWindow::present() {
    refresh();
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    ok_->setFocus();
}

void AboutWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace voltaro::shell
