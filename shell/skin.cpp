#include "shell/skin.h"

#include <QGuiApplication>
#include <QWidget>

#include "platform/dib.h"
#include "platform/resource_module.h"

namespace voltaro::shell {

int skinScale() {
    return platform::Surface::scaleFor(qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0);
}

QImage skinBitmap(const char* name, int scale) {
    const auto found = platform::findBitmap(platform::programModule(), name, scale);
    if (!found) return {};
    QImage image = platform::surfaceFromDib(found->dib, found->scale).image();
    // A picture missing at 2x is the 1x one, shown at its size, softer but in place.
    image.setDevicePixelRatio(found->scale);
    return image;
}

QPixmap skinPixmap(const char* name, int scale) {
    return QPixmap::fromImage(skinBitmap(name, scale));
}

platform::Surface lookOf(QWidget& widget) {
    const int scale = skinScale();
    platform::Surface look(widget.width(), widget.height(), scale);
    widget.render(&look.image(), {}, {}, QWidget::DrawChildren);
    return look;
}

}  // namespace voltaro::shell
