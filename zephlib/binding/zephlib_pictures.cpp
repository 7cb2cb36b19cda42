// The binding's picture exports: they draw onto surfaces (platform/surface.h), so they live apart
// from the rest of the binding, in voltaro_zephlib_pictures, and only what draws links Qt Gui.
#include "platform/surface.h"
#include "zephlib/binding/zephlib_binding.h"
#include "zephlib/zephlib.h"

namespace voltaro::platform {

std::optional<std::int32_t> ZephlibBinding::GetResPic(const char* libraryPath, Surface& target,
                                                      std::int32_t width, std::int32_t height,
                                                      const char* name, std::int32_t placement) {
    auto* function = resolve<decltype(::GetResPic)>("GetResPic");
    if (function == nullptr) return std::nullopt;
    return function(libraryPath, target.handle(), width, height, name, placement);
}

std::optional<std::int32_t> ZephlibBinding::PicLoad(void* module, Surface& reference,
                                                    Surface& target, std::int32_t width,
                                                    std::int32_t height, const char* name) {
    auto* function = resolve<decltype(::PicLoad)>("PicLoad");
    if (function == nullptr) return std::nullopt;
    return function(module, reference.handle(), target.handle(), width, height, name);
}

std::optional<std::int32_t> ZephlibBinding::SpnFrm(const char* libraryPath, Surface& target,
                                                   const Surface& background, std::int32_t width,
                                                   std::int32_t height, std::int32_t frameCount,
                                                   std::int32_t direction) {
    auto* function = resolve<decltype(::SpnFrm)>("SpnFrm");
    if (function == nullptr) return std::nullopt;
    // The library only reads the background.
    return function(libraryPath, target.handle(), const_cast<Surface&>(background).handle(), width,
                    height, frameCount, direction);
}

}  // namespace voltaro::platform
