// The skin: every picture of the windows is a named bitmap of the program's own resources, cut
// to the sizes the layout gives. One loader; the widgets only paint what it hands them. On a
// high-density screen (a device pixel ratio above 1) it hands out the 2x pictures, with a device
// pixel ratio of 2: painted at their size in the windows' pixels, they are drawn at the screen's
// own resolution.
#pragma once

#include <QImage>
#include <QPixmap>

#include "platform/surface.h"

class QWidget;

namespace voltaro::shell {

// The scale of the pictures for the screens the program shows on: 2 when the application's
// device pixel ratio is above 1, else 1.
int skinScale();

// The bitmap `name` from the program's resources at `scale`; a null image when there is none.
QImage skinBitmap(const char* name, int scale = skinScale());

// The same as a pixmap for painting.
QPixmap skinPixmap(const char* name, int scale = skinScale());

// `widget` as it looks now, children included, drawn at the skin's scale: what the slides and the
// spin copy from, as sharp as what the screen shows.
platform::Surface lookOf(QWidget& widget);

}  // namespace voltaro::shell
