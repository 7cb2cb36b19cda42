// Twips, the unit the window geometry of the original design is given in: 15 to the pixel on the
// usual display (1440 to the inch at 96 pixels to the inch). Everything else is in pixels.
#pragma once

#include <QtGlobal>

namespace voltaro::shell {

inline constexpr int kTwipsPerPixel = 15;

// Twips to the nearest pixel, a half away from zero.
inline int twipsToPixels(double twips) { return qRound(twips / kTwipsPerPixel); }

}  // namespace voltaro::shell
