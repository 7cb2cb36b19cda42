// The skin: every picture of the windows is a named bitmap of the program's own resources, cut
// to the sizes the layout gives. One loader; the widgets only paint what it hands them.
#pragma once

#include <QImage>
#include <QPixmap>

namespace voltaro::shell {

// The bitmap `name` from the program's resources; a null image when there is none.
QImage skinBitmap(const char* name);

// The same as a pixmap for painting.
QPixmap skinPixmap(const char* name);

}  // namespace voltaro::shell
