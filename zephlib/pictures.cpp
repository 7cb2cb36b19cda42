// The picture exports: GetResPic and PicLoad draw a named bitmap of a resource module onto a
// surface; SpnFrm builds the ten spin frames over a background and shows them one by one.
// Every library, surface and resource taken here is released before the export returns. A
// surface of scale 2 gets the 2x picture of each bitmap when the library has one; coordinates
// and sizes stay in the windows' pixels at every scale.
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

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

// A spin frame's bitmap at the frame's scale, in device pixels: read from the DIB as it is stored
// when it was drawn at that scale, else from a copy scaled to it.
class FrameBitmap {
public:
    FrameBitmap(const voltaro::platform::ScaledDib& found, int scale) : dib_(found.dib) {
        if (found.scale != scale) {
            const Surface drawn = voltaro::platform::surfaceFromDib(found.dib, found.scale);
            scaled_.emplace(drawn.width(), drawn.height(), scale);
            blockCopy(*scaled_, 0, 0, drawn.width(), drawn.height(), drawn, 0, 0);
        }
        columns_ = scaled_ ? scaled_->image().width() : dib_.header.width;
        rows_ = scaled_ ? scaled_->image().height() : dib_.header.rows();
    }

    // Pixels x0 to x0 + count - 1 of row y (top first) as 0xRRGGBB; 0, black, where the bitmap
    // does not reach.
    void read(int y, int x0, int count, std::uint32_t* out) const {
        int x = 0;
        if (y < rows_) {
            const int reach = std::clamp(columns_ - x0, 0, count);
            const unsigned char* p = row(y) + pixelBytes() * static_cast<std::size_t>(x0);
            if (scaled_) {
                const auto* pixels = reinterpret_cast<const std::uint32_t*>(p);
                for (; x < reach; ++x) out[x] = pixels[x] & 0xffffffu;
            } else {
                for (; x < reach; ++x, p += 3)
                    out[x] =
                        std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16;
            }
        }
        std::fill(out + x, out + count, 0u);
    }

    // Whether the first `count` pixels of row y are all pure white. Most rows are; this looks at
    // their bytes eight at a time instead of reading them as pixels.
    bool whiteRow(int y, int count) const {
        if (y >= rows_ || columns_ < count) return false;
        const unsigned char* p = row(y);
        const std::size_t bytes = pixelBytes() * static_cast<std::size_t>(count);
        std::size_t i = 0;
        for (std::uint64_t word = 0; i + 8 <= bytes; i += 8) {
            std::memcpy(&word, p + i, 8);
            if (word != ~std::uint64_t{0}) return false;
        }
        return std::all_of(p + i, p + bytes, [](unsigned char b) { return b == 0xff; });
    }

private:
    // The scaled copy is RGB32, its unused top byte 0xff as well; the DIB is 3 bytes a pixel.
    std::size_t pixelBytes() const { return scaled_ ? 4 : 3; }
    const unsigned char* row(int y) const {
        if (scaled_) return scaled_->image().constScanLine(y);
        const voltaro::platform::DibHeader& h = dib_.header;
        return dib_.pixels +
               h.stride() * static_cast<std::size_t>(h.bottomUp() ? rows_ - 1 - y : y);
    }

    voltaro::platform::DibView dib_;
    std::optional<Surface> scaled_;
    int columns_ = 0, rows_ = 0;
};

// The frame's pixel for a bitmap pixel over a background pixel: a colour component of 255 lets
// the background's component through, any other value replaces it. That is the bitmap ANDed into
// the background, then ORed in again with its 255 bytes turned to 0, in one step and without a
// branch: in each byte t, ((t & 0x7f) + 0x7f) | t has its top bit set exactly when t is not 0.
inline std::uint32_t overlay(std::uint32_t bitmap, std::uint32_t background) {
    const std::uint32_t notFull = ~bitmap & 0xffffffu;  // 0 in the components that are 255
    const std::uint32_t nonzero = (((notFull & 0x7f7f7fu) + 0x7f7f7fu) | notFull) & 0x808080u;
    const std::uint32_t own = (nonzero >> 7) * 0xffu;  // 0xff in the components the bitmap keeps
    return 0xff000000u | (bitmap & own) | (background & ~own & 0xffffffu);
}

// The part of a frame of `size` device pixels where its bitmap changes the background: every
// pixel that is not pure white, and where the bitmap does not reach (the frame is black there).
QRect changedPart(const FrameBitmap& bitmap, QSize size) {
    std::vector<std::uint32_t> row(static_cast<std::size_t>(size.width()));
    int left = size.width(), right = -1, top = -1, bottom = -1;
    for (int y = 0; y < size.height(); ++y) {
        if (bitmap.whiteRow(y, size.width())) continue;
        bitmap.read(y, 0, size.width(), row.data());
        const auto changed = [](std::uint32_t pixel) { return pixel != 0xffffffu; };
        const auto first = std::find_if(row.begin(), row.end(), changed);
        if (first == row.end()) continue;
        const auto last = std::find_if(row.rbegin(), row.rend(), changed);
        left = std::min(left, static_cast<int>(first - row.begin()));
        right = std::max(right, static_cast<int>(row.rend() - last) - 1);
        if (top < 0) top = y;
        bottom = y;
    }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Frame picture i over `area` (windows' pixels) of the background: the background there, with
// the frame's bitmap laid over it. A missing bitmap leaves the background alone.
Surface buildSpinFrame(const std::optional<FrameBitmap>& bitmap, const Surface& background,
                       const QRect& area) {
    const int scale = background.scale();
    Surface frame(area.width(), area.height(), scale);
    blockCopy(frame, 0, 0, area.width(), area.height(), background, area.x(), area.y());
    if (!bitmap) return frame;
    QImage& to = frame.image();
    std::vector<std::uint32_t> row(static_cast<std::size_t>(to.width()));
    for (int y = 0; y < to.height(); ++y) {
        bitmap->read(area.y() * scale + y, area.x() * scale, to.width(), row.data());
        auto* out = reinterpret_cast<std::uint32_t*>(to.scanLine(y));
        for (int x = 0; x < to.width(); ++x)
            out[x] = overlay(row[static_cast<std::size_t>(x)], out[x]);
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

    // Every frame is the background except where its bitmap is not white: a few lights of the
    // key's ring. The first frame shown is whole; the others differ from it only in the part
    // where any frame changes the background, so they hold only that part and are copied there.
    // A face-sized frame each would take ten times the memory, all of it fresh, at every spin.
    const int scale = from->scale();
    const QRect whole(0, 0, width, height);
    std::array<std::optional<FrameBitmap>, kSpinFrames> bitmaps;
    QRect changing;
    for (int i = 0; i < kSpinFrames; ++i) {
        const std::string name = std::to_string(i) + "B";
        const auto found = voltaro::platform::findBitmap(library.handle(), name.c_str(), scale);
        if (!found) continue;  // a missing frame shows the background alone
        bitmaps[i].emplace(*found, scale);
        const QRect part = changedPart(*bitmaps[i], whole.size() * scale);
        if (part.isEmpty()) continue;
        // In the windows' pixels, covering every device pixel of the part.
        changing |= QRect(QPoint(part.left() / scale, part.top() / scale),
                          QPoint(part.right() / scale, part.bottom() / scale));
    }
    if (changing.isEmpty()) changing = whole;

    // All frames are ready before the first is shown, so the animation only copies.
    const bool forward = direction == 1;
    const int first = forward ? 1 : kSpinFrames - 1;
    std::array<Surface, kSpinFrames> frames;
    std::array<QRect, kSpinFrames> areas;
    for (int i = 0; i < kSpinFrames; ++i) {
        areas[i] = i == first ? whole : changing;
        frames[i] = buildSpinFrame(bitmaps[i], *from, areas[i]);
    }

    for (int i = first;; i += forward ? 1 : -1) {
        voltaro::zephlib::busyWait(kSpinStepTicks);
        blockCopy(*to, areas[i].x(), areas[i].y(), areas[i].width(), areas[i].height(), frames[i],
                  0, 0);
        if (forward ? i == kSpinFrames - 1 : i == 0) break;
    }
    return 0;
}
