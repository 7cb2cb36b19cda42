#include "shell/skin.h"

#include "platform/dib.h"
#include "platform/resource_module.h"

namespace voltaro::shell {

QImage skinBitmap(const char* name) {
    const auto data =
        platform::findResource(platform::programModule(), platform::kBitmapResource, name);
    if (!data) return {};
    const auto dib = platform::readDib(data->bytes, data->size);
    if (!dib) return {};
    return platform::surfaceFromDib(*dib).image();
}

QPixmap skinPixmap(const char* name) { return QPixmap::fromImage(skinBitmap(name)); }

}  // namespace voltaro::shell
