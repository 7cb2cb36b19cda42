// The picture exports: GetResPic and PicLoad draw a named bitmap of a resource module onto a
// surface; SpnFrm builds the ten spin frames over a background and shows them one by one.
// Every library, surface and resource taken here is released before the export returns. A
// surface of scale 2 gets the 2x picture of each bitmap when the library has one; coordinates
// and sizes stay in the windows' pixels at every scale.
#include <array>
#include <string>
#include <vector>

#include "platform/dib.h"
#include "platform/resource_module.h"
#include "platform/shared_library.h"
#include "platform/surface.h"
#include "zephlib/delay.h"
#include "zephlib/zephlib.h"

using voltaro::platform::blockCopy;
using voltaro::platform::DibView;
using voltaro::platform::RasterOp;
using voltaro::platform::Surface;

namespace {

constexpr int kSpinFrames = 10;
constexpr std::int32_t kSpinStepTicks = 99999;       // wait before each frame is shown
constexpr int kPlacementX = 155, kPlacementY = 435;  // where placement 1 puts a picture

// Frame picture i: the background, with the frame bitmap laid over it so that a colour component
// of 255 lets the background's component through and any other value replaces it. That is the
// bitmap ANDed into the background, then ORed in again with its 255 bytes turned to 0.
Surface buildSpinFrame(void* library, int index, const Surface& background, int width, int height) {
    const int scale = background.scale();
    Surface frame(width, height, scale);
    blockCopy(frame, 0, 0, width, height, background, 0, 0);
    const std::string name = std::to_string(index) + "B";
    const auto found = voltaro::platform::findBitmap(library, name.c_str(), scale);
    if (!found) return frame;  // a missing frame shows the background alone
    const DibView& dib = found->dib;

    Surface work(width, height, scale);
    voltaro::platform::setDibitsToSurface(work, 0, 0, dib, found->scale);
    blockCopy(frame, 0, 0, width, height, work, 0, 0, RasterOp::And);

    std::vector<unsigned char> masked(dib.pixels, dib.pixels + dib.pixelBytes);
    for (unsigned char& byte : masked)
        if (byte == 255) byte = 0;
    DibView maskedView = dib;
    maskedView.pixels = masked.data();
    voltaro::platform::setDibitsToSurface(work, 0, 0, maskedView, found->scale);
    blockCopy(frame, 0, 0, width, height, work, 0, 0, RasterOp::Or);
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
