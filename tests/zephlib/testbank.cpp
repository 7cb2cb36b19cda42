// Testbank.so: see testbank.h.
#include <QImage>

#include <string>
#include <utility>
#include <vector>

#include "platform/dib.h"
#include "platform/resource_module.h"
#include "tests/zephlib/testbank.h"

namespace {

using namespace voltaro::tests::testbank;

struct Entry {
    std::string name;
    std::vector<unsigned char> bytes;
};

template <typename Pixel>
std::vector<unsigned char> picture(int width, int height, Pixel pixel) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, pixel(x, y));
    return voltaro::platform::encodeDib(image);
}

const std::vector<Entry>& bitmaps() {
    static const std::vector<Entry> entries = [] {
        std::vector<Entry> out;
        out.push_back({"PATCH", picture(kPatchWidth, kPatchHeight, patchPixel)});
        for (int i = 0; i < 10; ++i) {
            if (i == kMissingFrame) continue;
            out.push_back({std::to_string(i) + "B",
                           picture(kFrameWidth, kFrameHeight,
                                   [i](int x, int y) { return framePixel(i, x, y); })});
        }
        return out;
    }();
    return entries;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int VoltaroFindResource(
    const char* type, const char* name, const unsigned char** bytes, std::uint32_t* size) {
    if (type == nullptr || name == nullptr || bytes == nullptr || size == nullptr) return 0;
    if (!voltaro::platform::sameResourceName(type, voltaro::platform::kBitmapResource)) return 0;
    for (const Entry& entry : bitmaps()) {
        if (voltaro::platform::sameResourceName(entry.name.c_str(), name)) {
            *bytes = entry.bytes.data();
            *size = static_cast<std::uint32_t>(entry.bytes.size());
            return 1;
        }
    }
    return 0;
}
