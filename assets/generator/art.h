// Voltaro's art generator: every bitmap of the program and of the sound library, drawn with
// QPainter from the layout in assets/layout.h, and the sounds, synthesized. Output is
// deterministic: the same sources give the same bytes.
//
// Light falls from the top left: raised parts are lit on their top-left edges and shaded on
// their bottom-right ones; recesses the other way round.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "assets/layout.h"

namespace voltaro::assets::art {

namespace colour {
inline const QColor kHolsterLight{66, 69, 75};
inline const QColor kHolsterDark{30, 31, 35};
inline const QColor kRim{12, 12, 14};
inline const QColor kPlate{33, 35, 39};
inline const QColor kPlateLight{88, 92, 99};
inline const QColor kShadow{10, 10, 12};
inline const QColor kWell{17, 18, 20};
inline const QColor kInk{212, 215, 219};
inline const QColor kInkDim{128, 133, 140};
inline const QColor kEngrave{8, 8, 10};
inline const QColor kAmber{242, 172, 38};
inline const QColor kAmberDeep{150, 96, 18};
inline const QColor kAmberOff{74, 52, 24};
inline const QColor kGlass{0, 128, 0};
inline const QColor kGlassEdge{0, 78, 0};
inline const QColor kYellow{255, 255, 0};
inline const QColor kPowerRed{222, 64, 48};
inline const QColor kReadyGreen{84, 214, 96};
inline const QColor kBoard{22, 88, 56};
inline const QColor kTrace{40, 122, 78};
inline const QColor kCopper{206, 164, 74};
inline const QColor kSilk{236, 236, 226};
inline const QColor kDipRed{186, 40, 36};
}  // namespace colour

inline QRectF toRectF(const layout::Rect& r) { return QRectF(r.x, r.y, r.w, r.h); }

// Fonts by pixel size: Liberation Sans (the metric twin of Arial), hinted for crisp small text.
QFont sans(int pixelSize, bool bold = true, qreal letterSpacing = 0);

// Every picture is drawn at two ratios: 1 for ordinary screens, 2 for high-density ones (a screen
// between the two scales the 2x picture down). The drawing code works in the layout's pixels at
// both; a 2x canvas has twice as many pixels each way and a device pixel ratio of 2, so a painter
// on it draws every edge and letter at the finer resolution.
inline constexpr int kScales[] = {1, 2};

// A canvas for a picture of `size` (layout pixels) at `scale`, not yet filled.
QImage canvas(layout::Size size, int scale, QImage::Format format = QImage::Format_RGB32);

// A painter set up for the generator: antialiasing on, text hinted.
void prepare(QPainter& painter);

// Strokes `path` with a pen that is `light` at its top-left and `dark` at its bottom-right.
void bevel(QPainter& painter, const QPainterPath& path, const QColor& light, const QColor& dark,
           qreal width = 1.0);

// Text centred in `box`, with a one-pixel engraved shadow below it when `engraved`.
void centredText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                 const QColor& colour, bool engraved = true);

// A lightning bolt filling `box` (the wordmark's and the printed logo's).
void paintBolt(QPainter& painter, const QRectF& box, const QColor& colour);

// A recessed slot around `r` (the well behind a key or button image), filled with the well
// colour.
void slot(QPainter& painter, const QRectF& r, qreal radius);

// The deep cup a round key sits in, shaded towards its centre; the key pictures repeat it behind
// their caps so that they meet the face without a seam.
QBrush cupBrush(const QPointF& centre);

// ---- The pictures --------------------------------------------------------------------------
// The main window face. `litSpinLights` lights the first n of the options ring's ten lights
// (0: none), `optionsLit` lights the options caption: the spin frames are faces that differ.
QImage face(int scale, int litSpinLights = 0, bool optionsLit = false);
// Spin frame i (0 to 9): white where the face shows through, the changed pixels elsewhere.
QImage spinFrame(int index, int scale);

QImage squareKey(bool pressed, int scale);
QImage roundKey(bool pressed, int scale);
enum class PrintState { Up, Down, Off };
QImage printButton(PrintState state, int scale);
QImage exitButton(bool pressed, int scale);
QImage doneButton(bool pressed, int scale);
QImage closeButton(bool pressed, int scale);
QImage knob(bool flag, int scale);
QImage dip(bool on, int scale);

QImage conduitPanel(int scale);
QImage plainDrawer(const layout::PlainDrawer& drawer, int scale);  // layout::kPlainDrawers
QImage enclosurePanel(int scale);
QImage typeDialog(int scale);   // "SELCOND", the conduit type dialog
QImage errorWindow(int scale);  // "ERRWND", the error window
QImage optionsPanel(int scale);
QImage circuit(int scale);
QImage printLogo(int scale);
// The application icon, `size` pixels square, with transparency.
QImage appIcon(int size);

// ---- Sounds ------------------------------------------------------------------------------
// A complete 16-bit mono WAVE file image.
std::vector<unsigned char> sound(const std::string& name);
inline const std::vector<std::string> kSoundNames{"Tick", "TickLo", "out", "in", "Off", "Dip"};

}  // namespace voltaro::assets::art
