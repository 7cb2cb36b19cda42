// The display Voltaro needs: at least 800 pixels wide (the height does not matter) and at least
// 16-bit colour.
#pragma once

#include "shell/twips.h"

namespace voltaro::shell {

// True when a display of that colour depth and width is good enough: 2 to the power of
// bitsPerPixel x planes must reach 65536, and the width in twips / 20 must reach 600.
bool ChkScrRes(int bitsPerPixel, int planes, int screenWidthPixels);

// The message shown before the program ends on a display that fails the check.
inline constexpr const char* kDisplayMessage =
    "Minimum 600 x 800 Display With 16 Bit High Color Required!";

}  // namespace voltaro::shell
