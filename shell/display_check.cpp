#include "shell/display_check.h"

namespace voltaro::shell {

bool ChkScrRes(int bitsPerPixel, int planes, int screenWidthPixels) {
    const long long colourBits = static_cast<long long>(bitsPerPixel) * planes;
    if (colourBits < 16) return false;  // 2^bits < 65536
    const long long widthTwips = static_cast<long long>(screenWidthPixels) * kTwipsPerPixel;
    return widthTwips / 20 >= 600;
}

}  // namespace voltaro::shell
