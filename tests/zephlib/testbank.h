// Testbank.so, the Zephlib tests' own resource module: small pictures whose every pixel is known,
// so a test can say exactly what a drawing export must have drawn.
#pragma once

#include <QColor>

namespace voltaro::tests::testbank {

// "PATCH", 8 x 6: a different colour at every pixel, no component at 255.
inline constexpr int kPatchWidth = 8, kPatchHeight = 6;
inline QRgb patchPixel(int x, int y) { return qRgb(10 + 20 * x, 20 + 30 * y, 90); }

// Spin frames "0B" to "9B", 6 x 4, except "7B", which the module leaves out. Row 0 holds the test
// pixels: (0,0) white, (1,0) (10,20,30), (2,0) (255,0,0), (3,0) the frame's own marker colour;
// everything else is white.
inline constexpr int kFrameWidth = 6, kFrameHeight = 4;
inline constexpr int kMissingFrame = 7;
inline QRgb frameMarker(int frame) { return qRgb(5 + 20 * frame, 7 + 20 * frame, 9 + 20 * frame); }
inline QRgb framePixel(int frame, int x, int y) {
    if (y == 0 && x == 1) return qRgb(10, 20, 30);
    if (y == 0 && x == 2) return qRgb(255, 0, 0);
    if (y == 0 && x == 3) return frameMarker(frame);
    return qRgb(255, 255, 255);
}

// The background the tests spin over: no component at 255 or 0.
inline QRgb backgroundPixel(int x, int y) { return qRgb(100 + 10 * x, 60 + 10 * y, 200); }

}  // namespace voltaro::tests::testbank
