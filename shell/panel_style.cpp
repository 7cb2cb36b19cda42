#include "shell/panel_style.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

namespace voltaro::shell::panel_style {

namespace {

// The art draws each well's edge around the control's rectangle, so the controls draw no frame.
// %1: the glass, %2: its text, %3: the focus amber.
const char* const kGlassSheet =
    "QLineEdit, QAbstractItemView, QLabel, QPlainTextEdit, QTextEdit {"
    "  background: %1; color: %2; border: none; padding: 0px 2px;"
    "  selection-background-color: %2; selection-color: rgb(0, 64, 0); }"
    "QLineEdit:disabled, QAbstractItemView:disabled { color: rgb(0, 184, 0);"
    "  selection-background-color: rgb(0, 96, 0); selection-color: rgb(0, 184, 0); }"
    "QAbstractItemView { outline: none; }"
    // A list with the keyboard focus is framed in the focus amber, one pixel inside its well.
    "QAbstractItemView:focus { border: 1px solid %3; padding: 0px 1px; }"
    "QAbstractItemView::item { padding: 0px; }"
    "QScrollBar:vertical { background: rgb(0, 78, 0); width: 9px; margin: 0px; }"
    "QScrollBar::handle:vertical { background: rgb(0, 176, 0); min-height: 12px; }"
    "QScrollBar::add-line, QScrollBar::sub-line { height: 0px; width: 0px; }"
    "QScrollBar::add-page, QScrollBar::sub-page { background: none; }";

// The amber key, pressed: its light moves down.
const char* const kKeySheet =
    "QPushButton { color: rgb(40, 28, 8); border: 1px solid rgb(120, 78, 10);"
    "  border-radius: 6px; background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,"
    "  stop: 0 rgb(248, 190, 70), stop: 1 rgb(206, 136, 22)); }"
    "QPushButton:focus { border: 1px solid rgb(255, 236, 170); }"
    "QPushButton:pressed { padding-top: 2px; background: qlineargradient(x1: 0, y1: 0, x2: 0,"
    "  y2: 1, stop: 0 rgb(206, 136, 22), stop: 1 rgb(236, 172, 48)); }";

}  // namespace

QFont glassFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    return font;
}

QFont captionFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    return font;
}

void glass(QWidget* control) {
    control->setFont(glassFont());
    control->setStyleSheet(
        QString::fromLatin1(kGlassSheet).arg(kGlass.name(), kGlassText.name(), kFocusRing.name()));
    control->setAutoFillBackground(true);
}

void keyButton(QPushButton* button) {
    button->setFont(glassFont());
    button->setStyleSheet(QString::fromLatin1(kKeySheet));
}

void caption(QLabel* label) {
    label->setFont(captionFont());
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kCaptionText);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(110, 114, 120));
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
}

namespace {

template <typename Control>
Control* named(Control* control, const QString& objectName, const QString& toolTip,
               const QString& accessibleName) {
    control->setObjectName(objectName);
    if (!toolTip.isEmpty()) control->setToolTip(toolTip);
    control->setAccessibleName(accessibleName);
    // Screen readers describe it by its tool tip, or else by its name.
    control->setAccessibleDescription(toolTip.isEmpty() ? accessibleName : toolTip);
    return control;
}

}  // namespace

QLineEdit* textBox(const QString& objectName, const QString& text, const QString& toolTip,
                   const QString& accessibleName) {
    auto* box = named(new QLineEdit(text), objectName, toolTip, accessibleName);
    glass(box);
    box->setFrame(false);
    return box;
}

QListWidget* listBox(const QString& objectName, const QString& toolTip,
                     const QString& accessibleName) {
    auto* list = named(new QListWidget, objectName, toolTip, accessibleName);
    glass(list);
    list->setFrameShape(QFrame::NoFrame);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setUniformItemSizes(true);
    return list;
}

QComboBox* comboBox(const QString& objectName, bool editable, const QString& toolTip,
                    const QString& accessibleName) {
    auto* combo = named(new QComboBox, objectName, toolTip, accessibleName);
    glass(combo);
    // The glass carries the drop-down too: no frame, a darker strip for the arrow.
    combo->setStyleSheet(combo->styleSheet() +
                         QStringLiteral("QComboBox { background: rgb(0, 128, 0); color: rgb(255, "
                                        "255, 0); border: none; padding: 0px 2px;"
                                        "  selection-background-color: rgb(255, 255, 0);"
                                        "  selection-color: rgb(0, 64, 0); }"
                                        "QComboBox::drop-down { border: none; width: 12px;"
                                        "  background: rgb(0, 78, 0); }"
                                        "QComboBox::down-arrow { width: 0px; height: 0px;"
                                        "  border-left: 4px solid rgb(0, 78, 0);"
                                        "  border-right: 4px solid rgb(0, 78, 0);"
                                        "  border-top: 5px solid rgb(255, 255, 0); }"));
    combo->setEditable(editable);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(12);
    if (editable) combo->lineEdit()->setFrame(false);
    return combo;
}

QLabel* valueLabel(const QString& objectName, const QString& text, const QString& toolTip,
                   const QString& accessibleName) {
    auto* label = named(new QLabel(text), objectName, toolTip, accessibleName);
    glass(label);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel* captionLabel(const QString& objectName, const QString& text) {
    auto* label = named(new QLabel(text), objectName, QString(), text);
    caption(label);
    return label;
}

}  // namespace voltaro::shell::panel_style
