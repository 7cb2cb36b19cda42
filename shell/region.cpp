#include "shell/region.h"

#include <vector>

namespace voltaro::shell {

QRegion RegionFromBitmap(const QImage& picture, long key) {
    if (picture.isNull()) return {};
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QRgb keyColour;
    if (key < 1) {
        keyColour = image.pixel(0, 0) & RGB_MASK;
    } else {
        const auto k = static_cast<unsigned long>(key);
        keyColour = qRgb(static_cast<int>(k & 0xFF), static_cast<int>((k >> 8) & 0xFF),
                         static_cast<int>((k >> 16) & 0xFF)) &
                    RGB_MASK;
    }
    const int width = image.width();
    std::vector<QRect> runs;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && (row[x] & RGB_MASK) == keyColour) ++x;
            if (x >= width) break;
            const int start = x;
            while (x < width && (row[x] & RGB_MASK) != keyColour) ++x;
            runs.emplace_back(start, y, x - start, 1);
        }
    }
    // One call instead of a union per run: the same region, built in one pass.
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

}  // namespace voltaro::shell
