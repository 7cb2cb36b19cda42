// One look for the controls of every panel, so that all panels look alike and fit the drawer
// art: display-like controls (text boxes, lists, value labels, description boxes) are green
// glass, RGB 0, 128, 0, with yellow text, RGB 255, 255, 0, in bold sans at 12 pixels, and fill
// the glass wells the art draws for them exactly; captions are light grey on the drawer, at 11
// pixels. Selections invert to green on yellow.
#pragma once

#include <QColor>
#include <QFont>

class QComboBox;
class QLabel;
class QPushButton;
class QLineEdit;
class QListWidget;
class QString;
class QWidget;

namespace voltaro::shell::panel_style {

inline const QColor kGlass{0, 128, 0};
inline const QColor kGlassText{255, 255, 0};
inline const QColor kCaptionText{212, 215, 219};  // the drawers' engraved titles' ink
// The keyboard focus: an amber ring on a dark edge, around picture buttons, lists and the
// enclosure's scroll bar.
inline const QColor kFocusRing{255, 200, 40};
inline const QColor kFocusEdge{16, 12, 0, 200};

QFont glassFont();
QFont captionFont();

// A text box, list, value label or description box on its glass well.
void glass(QWidget* control);
// A caption on the drawer; it wraps onto the lines its rectangle has.
void caption(QLabel* label);
// A push button drawn as the amber key of the panels' ENTER buttons, in the glass font: the OK
// of the program's own dialogs.
void keyButton(QPushButton* button);

// The controls of the calculator panels, made in that look, each with its object name (the
// control's name, an array's index appended), its tool tip and an accessible name in plain words
// (what its caption says). They have no parent yet: PanelForm::addControl places them.
QLineEdit* textBox(const QString& objectName, const QString& text, const QString& toolTip,
                   const QString& accessibleName);
QListWidget* listBox(const QString& objectName, const QString& toolTip,
                     const QString& accessibleName);
// A drop-down list on glass; `editable` lets the user type a value the list does not hold.
QComboBox* comboBox(const QString& objectName, bool editable, const QString& toolTip,
                    const QString& accessibleName);
// A value label on glass (the wire panel's temperature rating).
QLabel* valueLabel(const QString& objectName, const QString& text, const QString& toolTip,
                   const QString& accessibleName);
// A caption; its accessible name is its text.
QLabel* captionLabel(const QString& objectName, const QString& text);

}  // namespace voltaro::shell::panel_style
