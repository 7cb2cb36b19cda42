// Surfaces stand in for device contexts: a block of RGB32 pixels (0xffRRGGBB) that the drawing
// operations read and write. Sizes and coordinates are in the windows' own pixels; a surface for
// a high-density screen has a scale of 2 and holds two device pixels each way for each of them
// (its image has that device pixel ratio), so what is copied onto it stays as sharp as the
// screen. A memory surface is only pixels. A window surface also has a present
// hook that puts the changed rectangle on screen at once (the window repaints it), so a copy onto
// a window is seen before the next copy starts, as a copy onto a window's device context is.
//
// Header-only: Zephlib receives surfaces as opaque handles (Surface::fromHandle) and works on
// them without linking anything of the program. Both sides are built from this one header.
#pragma once

#include <QImage>
#include <QPainter>
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

    // A memory surface of width x height pixels at `scale` (1 or 2), all black, as a fresh
    // compatible bitmap is. Negative sizes count as 0.
    Surface(int width, int height, int scale = 1)
        : image_(std::max(width, 0) * clampScale(scale), std::max(height, 0) * clampScale(scale),
                 QImage::Format_RGB32),
          scale_(clampScale(scale)) {
        image_.setDevicePixelRatio(scale_);
        image_.fill(0xff000000u);
    }

    // A memory surface holding a copy of `image` in RGB32, at the image's device pixel ratio
    // (2 for a ratio above 1.5, as a 2x picture or a window drawn at 2x has).
    explicit Surface(const QImage& image)
        : image_(image.convertToFormat(QImage::Format_RGB32)),
          scale_(image.devicePixelRatio() > 1.5 ? 2 : 1) {
        image_.setDevicePixelRatio(scale_);
    }

    // The scale of surfaces for a screen of `devicePixelRatio`: 2 above 1 (a 1.5x screen shows
    // 2x pixels scaled down, which stays sharp), else 1.
    static int scaleFor(qreal devicePixelRatio) { return devicePixelRatio > 1.0 ? 2 : 1; }

    int width() const { return image_.width() / scale_; }
    int height() const { return image_.height() / scale_; }
    QRect rect() const { return QRect(0, 0, width(), height()); }
    int scale() const { return scale_; }

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

    // Paints the part `area` of the surface onto `painter`'s device at the same place.
    void paint(QPainter& painter, const QRect& area) const {
        painter.drawImage(QRectF(area), image_,
                          QRectF(area.x() * scale_, area.y() * scale_, area.width() * scale_,
                                 area.height() * scale_));
    }

private:
    static int clampScale(int scale) { return scale >= 2 ? 2 : 1; }

    QImage image_;
    int scale_ = 1;
    PresentHook present_;
};

// Copies a width x height block from `source` at (sx, sy) onto `target` at (dx, dy), combining
// it with `op`. Parts of the block outside either surface are left out. Source and target may be
// the same surface, with overlapping blocks: the copy reads the block as it was before. A source
// of another scale is scaled to the target's. A window target presents the changed rectangle.
// Returns the rectangle of `target` that was written.
inline QRect blockCopy(Surface& target, int dx, int dy, int width, int height,
                       const Surface& source, int sx, int sy, RasterOp op = RasterOp::Copy) {
    // Offsets within the block that lie inside both surfaces.
    const int x0 = std::max({0, -sx, -dx});
    const int y0 = std::max({0, -sy, -dy});
    const int x1 = std::min({width, source.width() - sx, target.width() - dx});
    const int y1 = std::min({height, source.height() - sy, target.height() - dy});
    if (x0 >= x1 || y0 >= y1) return {};
    const int s = target.scale(), ss = source.scale();
    const int columns = (x1 - x0) * s, rows = (y1 - y0) * s;

    QImage& to = target.image();
    const int toX = (dx + x0) * s, toY = (dy + y0) * s;
    int fromX = (sx + x0) * ss, fromY = (sy + y0) * ss;
    const QRect changed(dx + x0, dy + y0, x1 - x0, y1 - y0);

    // A plain copy within one surface moves the rows in place, as memmove moves bytes: walked
    // from the far end when the block moves down, so no row is overwritten before it is read.
    // A slide moves most of its window this way on every step.
    if (&source == &target && op == RasterOp::Copy) {
        const bool fromBottom = toY > fromY;
        for (int i = 0; i < rows; ++i) {
            const int row = fromBottom ? rows - 1 - i : i;
            const auto* in = reinterpret_cast<const std::uint32_t*>(to.constScanLine(fromY + row));
            auto* out = reinterpret_cast<std::uint32_t*>(to.scanLine(toY + row));
            std::memmove(out + toX, in + fromX,
                         sizeof(std::uint32_t) * static_cast<std::size_t>(columns));
        }
        target.present(changed);
        return changed;
    }

    // Any other copy within one surface reads from a snapshot of the block, so overlapping
    // blocks work; a source of another scale is read from a copy of the block at the target's.
    QImage snapshot;
    const QImage* from = &source.image();
    if (&source == &target || ss != s) {
        snapshot = source.image().copy(fromX, fromY, (x1 - x0) * ss, (y1 - y0) * ss);
        if (ss != s)
            snapshot = snapshot
                           .scaled(columns, rows, Qt::IgnoreAspectRatio,
                                   ss < s ? Qt::FastTransformation : Qt::SmoothTransformation)
                           .convertToFormat(QImage::Format_RGB32);
        from = &snapshot;
        fromX = fromY = 0;
    }

    for (int row = 0; row < rows; ++row) {
        const auto* in =
            reinterpret_cast<const std::uint32_t*>(from->constScanLine(fromY + row)) + fromX;
        auto* out = reinterpret_cast<std::uint32_t*>(to.scanLine(toY + row)) + toX;
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
    target.present(changed);
    return changed;
}

// The colour of one pixel (0xffRRGGBB; at 2x its top-left device pixel), or nullopt outside the
// surface.
inline std::optional<QRgb> pixelAt(const Surface& surface, int x, int y) {
    if (!surface.rect().contains(x, y)) return std::nullopt;
    return surface.image().pixel(x * surface.scale(), y * surface.scale()) | 0xff000000u;
}

}  // namespace voltaro::platform
