// The shape of a skinned window, from a picture drawn for the screen's pixel ratio.
#pragma once

#include <QRegion>

class QWidget;

namespace voltaro::platform {

// Shapes the top-level `window` to `shape`: a region of a picture drawn at `scale` (1, or 2 for
// a 2x picture) that covers the whole window, in that picture's pixels. When the window's device
// pixel ratio is the picture's and the window system is X11, the region goes to the X server as
// it is, so the outline is exact to the screen's own pixels. Otherwise it is set through Qt in the
// window's pixels, each of them in the shape when any of its picture's pixels is.
void setWindowShape(QWidget& window, const QRegion& shape, int scale);

// `shape` (in pixels of a picture drawn at `scale`) in the window's own pixels: a window pixel is
// in it when any of the picture's pixels under it is.
QRegion regionAtScaleOne(const QRegion& shape, int scale);

}  // namespace voltaro::platform
