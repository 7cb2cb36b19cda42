// The picture exports: GetResPic and PicLoad draw a named bitmap of a resource module onto a
// surface; SpnFrm builds the ten spin frames over a background and shows them one by one.
// Every library, surface and resource taken here is released before the export returns. A
// surface of scale 2 gets the 2x picture of each bitmap when the library has one; coordinates
// and sizes stay in the windows' pixels at every scale.
#include <array>
#include <optional>
#include <string>

#include "platform/dib.h"
#include "platform/resource_module.h"
#include "platform/shared_library.h"
#include "platform/surface.h"
#include "zephlib/delay.h"
#include "zephlib/zephlib.h"

using voltaro::platform::blockCopy;
using voltaro::platform::Surface;

namespace {

constexpr int kSpinFrames = 10;
constexpr std::int32_t kSpinStepTicks = 99999;       // wait before each frame is shown
constexpr int kPlacementX = 155, kPlacementY = 435;  // where placement 1 puts a picture

// Frame picture i: the background, with the frame bitmap laid over it so that a colour component
// of 255 lets the background's component through and any other value replaces it. That is the
// bitmap ANDed into the background, then ORed in again with its 255 bytes turned to 0; both
// copies are done here in one pass over the pixels, which leaves the same picture. Where the
// bitmap does not reach, the frame is black, as the two copies of a black work surface leave it.
Surface buildSpinFrame(void* library, int index, const Surface& background, int width, int height) {
    const int scale = background.scale();
    // The background whole when it is the frame's size (a copy without a fill first), else the
    // part of it that the frame covers.
    Surface frame = background.image().size() == QSize(width, height) * scale
                        ? Surface(background.image())
                        : Surface(width, height, scale);
    if (frame.image().size() != background.image().size())
        blockCopy(frame, 0, 0, width, height, background, 0, 0);
    const std::string name = std::to_string(index) + "B";
    const auto found = voltaro::platform::findBitmap(library, name.c_str(), scale);
    if (!found) return frame;  // a missing frame shows the background alone

    // The bitmap's rows, top first, at the frame's scale: read from the DIB as it is stored when
    // it was drawn at that scale, else from a copy scaled to it.
    std::optional<Surface> scaled;
    const voltaro::platform::DibHeader& h = found->dib.header;
    int rows = h.rows(), columns = h.width;
    if (found->scale != scale) {
        const Surface drawn = voltaro::platform::surfaceFromDib(found->dib, found->scale);
        scaled.emplace(drawn.width(), drawn.height(), scale);
        blockCopy(*scaled, 0, 0, drawn.width(), drawn.height(), drawn, 0, 0);
        rows = scaled->image().height();
        columns = scaled->image().width();
    }
    QImage& to = frame.image();
    for (int y = 0; y < to.height(); ++y) {
        auto* out = reinterpret_cast<std::uint32_t*>(to.scanLine(y));
        const unsigned char* dibRow = nullptr;
        const std::uint32_t* surfaceRow = nullptr;
        if (y < rows && scaled)
            surfaceRow = reinterpret_cast<const std::uint32_t*>(scaled->image().constScanLine(y));
        else if (y < rows)
            dibRow = found->dib.pixels +
                     h.stride() * static_cast<std::size_t>(h.bottomUp() ? rows - 1 - y : y);
        for (int x = 0; x < to.width(); ++x) {
            std::uint32_t bitmap = 0;  // black where the bitmap does not reach
            if (x < columns && surfaceRow != nullptr)
                bitmap = surfaceRow[x];
            else if (x < columns && dibRow != nullptr)
                bitmap = std::uint32_t{dibRow[3 * x]} | std::uint32_t{dibRow[3 * x + 1]} << 8 |
                         std::uint32_t{dibRow[3 * x + 2]} << 16;
            if ((bitmap & 0xffffffu) == 0xffffffu) continue;  // the background shows whole
            std::uint32_t pixel = 0xff000000u;
            for (const int shift : {0, 8, 16}) {
                const std::uint32_t component = (bitmap >> shift) & 0xffu;
                pixel |= (component == 0xffu ? (out[x] >> shift) & 0xffu : component) << shift;
            }
            out[x] = pixel;
        }
    }
    return frame;
}

}  // namespace

int32_t GetResPic(const char* libraryPath, ZephSurface target, int32_t width, int32_t height,
                  const char* name, int32_t placement) {
    Surface* to = Surface::fromHandle(target);
    if (libraryPath == nullptr || to == nullptr) return 1;
    voltaro::platform::SharedLibrary library;
    if (!library.open(libraryPath)) return 1;
    if (const auto found = voltaro::platform::findBitmap(library.handle(), name, to->scale())) {
        const Surface picture = voltaro::platform::surfaceFromDib(found->dib, found->scale);
        const bool placed = placement == 1;
        blockCopy(*to, placed ? kPlacementX : 0, placed ? kPlacementY : 0, width, height, picture,
                  0, 0);
    }
    return 1;
}

int32_t PicLoad(ZephModule module, ZephSurface reference, ZephSurface target, int32_t width,
                int32_t height, const char* name) {
    (void)reference;  // every surface has the same pixel format; nothing to match
    Surface* to = Surface::fromHandle(target);
    const auto found = voltaro::platform::findBitmap(module, name, to != nullptr ? to->scale() : 1);
    if (!found) return 0;
    if (to != nullptr) {
        const Surface picture = voltaro::platform::surfaceFromDib(found->dib, found->scale);
        blockCopy(*to, 0, 0, width, height, picture, 0, 0);
    }
    return 1;
}

int32_t SpnFrm(const char* libraryPath, ZephSurface target, ZephSurface background, int32_t width,
               int32_t height, int32_t frameCount, int32_t direction) {
    (void)frameCount;  // the animation always has ten frames
    Surface* to = Surface::fromHandle(target);
    const Surface* from = Surface::fromHandle(background);
    if (libraryPath == nullptr || to == nullptr || from == nullptr || width <= 0 || height <= 0)
        return 0;
    voltaro::platform::SharedLibrary library;
    if (!library.open(libraryPath)) return 0;

    // All frames are ready before the first is shown, so the animation only copies.
    std::array<Surface, kSpinFrames> frames;
    for (int i = 0; i < kSpinFrames; ++i)
        frames[i] = buildSpinFrame(library.handle(), i, *from, width, height);

    const bool forward = direction == 1;
    for (int i = forward ? 1 : kSpinFrames - 1;; i += forward ? 1 : -1) {
        voltaro::zephlib::busyWait(kSpinStepTicks);
        blockCopy(*to, 0, 0, width, height, frames[i], 0, 0);
        if (forward ? i == kSpinFrames - 1 : i == 0) break;
    }
    return 0;
}
