#include "platform/window_shape.h"

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <map>
#include <vector>

namespace voltaro::platform {

namespace {

// Sets the X window's bounding shape (which the input shape follows) to `shape` in device
// pixels. False when the program is not on X11.
bool shapeX11Window(QWidget& window, const QRegion& shape) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) return false;
    std::vector<xcb_rectangle_t> rects;
    rects.reserve(static_cast<std::size_t>(shape.rectCount()));
    for (const QRect& r : shape)
        rects.push_back({static_cast<int16_t>(r.x()), static_cast<int16_t>(r.y()),
                         static_cast<uint16_t>(r.width()), static_cast<uint16_t>(r.height())});
    xcb_connection_t* connection = x11->connection();
    xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                         XCB_CLIP_ORDERING_UNSORTED, static_cast<xcb_window_t>(window.winId()), 0,
                         0, static_cast<uint32_t>(rects.size()), rects.data());
    xcb_flush(connection);
    return true;
}

}  // namespace

QRegion regionAtScaleOne(const QRegion& shape, int scale) {
    if (scale <= 1) return shape;
    // Per row of the window, the spans its picture's rows cover, merged.
    std::map<int, std::vector<std::pair<int, int>>> rows;
    for (const QRect& r : shape) {
        const int left = r.x() / scale, right = (r.x() + r.width() + scale - 1) / scale;
        for (int y = r.y() / scale; y < (r.y() + r.height() + scale - 1) / scale; ++y)
            rows[y].emplace_back(left, right);
    }
    std::vector<QRect> rects;
    for (auto& [y, spans] : rows) {
        std::sort(spans.begin(), spans.end());
        auto [start, end] = spans.front();
        for (const auto& [from, to] : spans) {
            if (from > end) {
                rects.emplace_back(start, y, end - start, 1);
                start = from;
            }
            end = std::max(end, to);
        }
        rects.emplace_back(start, y, end - start, 1);
    }
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

void setWindowShape(QWidget& window, const QRegion& shape, int scale) {
    window.winId();  // the native window, made now if it is not there yet
    const QWindow* handle = window.windowHandle();
    if (handle != nullptr && handle->devicePixelRatio() == scale && scale > 1 &&
        shapeX11Window(window, shape))
        return;
    window.setMask(regionAtScaleOne(shape, scale));
}

}  // namespace voltaro::platform
