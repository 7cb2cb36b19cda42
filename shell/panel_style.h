// One look for the controls of every panel, so that all panels look alike and fit the drawer
// art: display-like controls (text boxes, lists, value labels, description boxes) are green
// glass, RGB 0, 128, 0, with yellow text, RGB 255, 255, 0, in bold sans at 12 pixels, and fill
// the glass wells the art draws for them exactly; captions are light grey on the drawer, at 11
// pixels. Selections invert to green on yellow.
#pragma once

#include <QColor>
#include <QFont>

class QLabel;
class QWidget;

namespace voltaro::shell::panel_style {

inline const QColor kGlass{0, 128, 0};
inline const QColor kGlassText{255, 255, 0};
inline const QColor kCaptionText{212, 215, 219};  // the drawers' engraved titles' ink

QFont glassFont();
QFont captionFont();

// A text box, list, value label or description box on its glass well.
void glass(QWidget* control);
// A caption on the drawer; it wraps onto the lines its rectangle has.
void caption(QLabel* label);

}  // namespace voltaro::shell::panel_style
