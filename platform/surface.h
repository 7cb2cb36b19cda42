// Surfaces stand in for device contexts: a block of RGB32 pixels (0xffRRGGBB) that the drawing
// operations read and write. A memory surface is only pixels. A window surface also has a present
// hook that puts the changed rectangle on screen at once (the window repaints it), so a copy onto
// a window is seen before the next copy starts, as a copy onto a window's device context is.
//
// Header-only: Zephlib receives surfaces as opaque handles (Surface::fromHandle) and works on
// them without linking anything of the program. Both sides are built from this one header.
#pragma once

#include <QImage>
#include <QRect>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>

namespace voltaro::platform {

// The raster operations of a block copy: plain copy, AND and OR of the source into the target.
enum class RasterOp { Copy, And, Or };

class Surface {
public:
    // Called with the rectangle (pixels) that has just changed; shows it at once.
    using PresentHook = std::function<void(const QRect& changed)>;

    Surface() = default;

    // A memory surface of width x height pixels, all black, as a fresh compatible bitmap is.
    // Negative sizes count as 0.
    Surface(int width, int height)
        : image_(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32) {
        image_.fill(0xff000000u);
    }

    // A memory surface holding a copy of `image` in RGB32.
    explicit Surface(const QImage& image) : image_(image.convertToFormat(QImage::Format_RGB32)) {}

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    QRect rect() const { return image_.rect(); }

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

    // A window surface shows its pixels through the hook; a memory surface has none.
    void setPresentHook(PresentHook hook) { present_ = std::move(hook); }
    bool isWindow() const { return static_cast<bool>(present_); }
    void present(const QRect& changed) const {
        if (present_ && !changed.isEmpty()) present_(changed);
    }

    // The handle form passed through Zephlib's C interface, and back. A null handle gives null.
    void* handle() { return this; }
    static Surface* fromHandle(void* handle) { return static_cast<Surface*>(handle); }

private:
    QImage image_;
    PresentHook present_;
};

// Copies a width x height block from `source` at (sx, sy) onto `target` at (dx, dy), combining
// it with `op`. Parts of the block outside either surface are left out. Source and target may be
// the same surface, with overlapping blocks: the copy reads the block as it was before. A window
// target presents the changed rectangle. Returns the rectangle of `target` that was written.
inline QRect blockCopy(Surface& target, int dx, int dy, int width, int height,
                       const Surface& source, int sx, int sy, RasterOp op = RasterOp::Copy) {
    // Offsets within the block that lie inside both surfaces.
    const int x0 = std::max({0, -sx, -dx});
    const int y0 = std::max({0, -sy, -dy});
    const int x1 = std::min({width, source.width() - sx, target.width() - dx});
    const int y1 = std::min({height, source.height() - sy, target.height() - dy});
    if (x0 >= x1 || y0 >= y1) return {};
    const int columns = x1 - x0;

    // A copy within one surface reads from a snapshot of the block, so overlapping moves work.
    QImage snapshot;
    const QImage* from = &source.image();
    int fromX = sx + x0, fromY = sy + y0;
    if (&source == &target) {
        snapshot = source.image().copy(fromX, fromY, columns, y1 - y0);
        from = &snapshot;
        fromX = fromY = 0;
    }

    QImage& to = target.image();
    for (int row = 0; row < y1 - y0; ++row) {
        const auto* in =
            reinterpret_cast<const std::uint32_t*>(from->constScanLine(fromY + row)) + fromX;
        auto* out = reinterpret_cast<std::uint32_t*>(to.scanLine(dy + y0 + row)) + dx + x0;
        switch (op) {
            case RasterOp::Copy:
                std::memcpy(out, in, sizeof(std::uint32_t) * static_cast<std::size_t>(columns));
                break;
            case RasterOp::And:
                for (int i = 0; i < columns; ++i) out[i] &= in[i];
                break;
            case RasterOp::Or:
                for (int i = 0; i < columns; ++i) out[i] |= in[i];
                break;
        }
    }
    const QRect changed(dx + x0, dy + y0, columns, y1 - y0);
    target.present(changed);
    return changed;
}

// The colour of one pixel (0xffRRGGBB), or nullopt outside the surface.
inline std::optional<QRgb> pixelAt(const Surface& surface, int x, int y) {
    if (!surface.rect().contains(x, y)) return std::nullopt;
    return surface.image().pixel(x, y) | 0xff000000u;
}

}  // namespace voltaro::platform
