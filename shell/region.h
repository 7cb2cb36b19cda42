// The window's shape: every pixel of the face picture that is not the key colour.
#pragma once

#include <QImage>
#include <QRegion>

namespace voltaro::shell {

// Row by row, each run of pixels that differ from the key colour becomes a one-pixel-high
// rectangle of the region. `key` below 1 means "the colour of pixel (0, 0)"; otherwise it is the
// key colour as 0xBBGGRR. Pixels are compared on their RGB only.
QRegion RegionFromBitmap(const QImage& picture, long key);

}  // namespace voltaro::shell
