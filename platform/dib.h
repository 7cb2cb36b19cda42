// Device-independent bitmaps as the resource modules store them: a BITMAPINFOHEADER (40 bytes,
// little-endian; its first field is its own size) directly followed by the pixel bytes, no colour
// table. Only uncompressed 24-bit pictures are used: rows of blue-green-red triples, bottom row
// first (a negative height means top row first), each row padded to a multiple of 4 bytes.
//
// Header-only so that Zephlib, the resource generator and the program share one reading of it.
#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/resource_module.h"
#include "platform/surface.h"

namespace voltaro::platform {

inline constexpr std::uint32_t kBitmapInfoHeaderSize = 40;

struct DibHeader {
    std::uint32_t headerSize = kBitmapInfoHeaderSize;
    std::int32_t width = 0;
    std::int32_t height = 0;  // rows; negative for a top-down picture
    std::uint16_t bitCount = 24;
    std::uint32_t imageSize = 0;  // pixel bytes after the header

    int rows() const { return height < 0 ? -height : height; }
    bool bottomUp() const { return height > 0; }
    // Bytes per row: three per pixel, padded to a multiple of 4.
    std::size_t stride() const {
        return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    }
};

// A DIB in memory: the header read from it and where its pixels are. Owns nothing.
struct DibView {
    DibHeader header;
    const unsigned char* pixels = nullptr;
    std::size_t pixelBytes = 0;
};

namespace dib_detail {
inline std::uint32_t u32(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
inline std::uint16_t u16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline void put32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
inline void put16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
}  // namespace dib_detail

// Reads a DIB image. nullopt for anything but an uncompressed 24-bit picture whose header and
// pixel rows all lie within `size` bytes. A size-of-image field of 0 counts as rows x stride.
inline std::optional<DibView> readDib(const unsigned char* bytes, std::size_t size) {
    using namespace dib_detail;
    if (bytes == nullptr || size < kBitmapInfoHeaderSize) return std::nullopt;
    DibHeader h;
    h.headerSize = u32(bytes);
    h.width = static_cast<std::int32_t>(u32(bytes + 4));
    h.height = static_cast<std::int32_t>(u32(bytes + 8));
    const std::uint16_t planes = u16(bytes + 12);
    h.bitCount = u16(bytes + 14);
    const std::uint32_t compression = u32(bytes + 16);
    h.imageSize = u32(bytes + 20);
    if (h.headerSize < kBitmapInfoHeaderSize || h.headerSize > size) return std::nullopt;
    if (planes != 1 || h.bitCount != 24 || compression != 0) return std::nullopt;
    if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) return std::nullopt;
    const std::size_t needed = h.stride() * static_cast<std::size_t>(h.rows());
    if (h.imageSize == 0) h.imageSize = static_cast<std::uint32_t>(needed);
    if (h.imageSize < needed || h.imageSize > size - h.headerSize) return std::nullopt;
    return DibView{h, bytes + h.headerSize, h.imageSize};
}

// The picture of a DIB drawn at `scale` (1, or 2 for a "NAME@2x" picture) as a memory surface;
// its size in the windows' pixels is the picture's divided by the scale.
inline Surface surfaceFromDib(const DibView& dib, int scale = 1) {
    const DibHeader& h = dib.header;
    Surface surface(h.width / scale, h.rows() / scale, scale);
    QImage& to = surface.image();
    const int columns = std::min(h.width, to.width()), rows = std::min(h.rows(), to.height());
    for (int y = 0; y < rows; ++y) {
        const int stored = h.bottomUp() ? h.rows() - 1 - y : y;
        const unsigned char* in = dib.pixels + h.stride() * static_cast<std::size_t>(stored);
        auto* out = reinterpret_cast<std::uint32_t*>(to.scanLine(y));
        for (int x = 0; x < columns; ++x) {
            const unsigned char* p = in + 3 * x;
            out[x] = 0xff000000u | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
        }
    }
    return surface;
}

// Draws the whole picture of `dib` (drawn at `scale`) onto `target` with its top-left corner at
// (dx, dy); the part outside the target is left out. Pixels are unchanged when the scales agree;
// otherwise the picture is scaled to the target's. A window target presents what changed.
inline void setDibitsToSurface(Surface& target, int dx, int dy, const DibView& dib, int scale = 1) {
    const Surface picture = surfaceFromDib(dib, scale);
    blockCopy(target, dx, dy, picture.width(), picture.height(), picture, 0, 0);
}

// A bitmap of a resource module and the scale it was drawn at.
struct ScaledDib {
    DibView dib;
    int scale = 1;
};

// The bitmap `name` of `module` for a surface of `scale`: its 2x picture on a 2x surface when the
// module has one, else the ordinary picture. nullopt when there is neither or it is not a DIB.
inline std::optional<ScaledDib> findBitmap(void* module, const char* name, int scale) {
    if (name == nullptr) return std::nullopt;
    for (int tried = scale >= 2 ? 2 : 1; tried >= 1; --tried) {
        const auto data =
            findResource(module, kBitmapResource, scaledResourceName(name, tried).c_str());
        if (!data) continue;
        if (const auto dib = readDib(data->bytes, data->size)) return ScaledDib{*dib, tried};
    }
    return std::nullopt;
}

// Encodes `image` as a bottom-up 24-bit DIB image (header + pixels), the form the resource
// modules store.
inline std::vector<unsigned char> encodeDib(const QImage& image) {
    using namespace dib_detail;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    DibHeader h;
    h.width = rgb.width();
    h.height = rgb.height();
    const std::size_t stride = h.stride();
    h.imageSize = static_cast<std::uint32_t>(stride * static_cast<std::size_t>(h.rows()));
    std::vector<unsigned char> out(kBitmapInfoHeaderSize + h.imageSize, 0);
    unsigned char* p = out.data();
    put32(p, kBitmapInfoHeaderSize);
    put32(p + 4, static_cast<std::uint32_t>(h.width));
    put32(p + 8, static_cast<std::uint32_t>(h.height));
    put16(p + 12, 1);   // planes
    put16(p + 14, 24);  // bits per pixel
    put32(p + 20, h.imageSize);
    put32(p + 24, 3780);  // 96 dots per inch, in dots per metre
    put32(p + 28, 3780);
    for (int y = 0; y < h.rows(); ++y) {
        unsigned char* row =
            p + kBitmapInfoHeaderSize + stride * static_cast<std::size_t>(h.rows() - 1 - y);
        const auto* in = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
        for (int x = 0; x < h.width; ++x) {
            row[3 * x] = static_cast<unsigned char>(in[x]);
            row[3 * x + 1] = static_cast<unsigned char>(in[x] >> 8);
            row[3 * x + 2] = static_cast<unsigned char>(in[x] >> 16);
        }
    }
    return out;
}

}  // namespace voltaro::platform
