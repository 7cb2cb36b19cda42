#include "shell/effects.h"

#include "platform/counter.h"
#include "platform/resource_module.h"
#include "platform/surface.h"
#include "zephlib/binding/zephlib_binding.h"

namespace voltaro::shell {

ZephlibEffects::ZephlibEffects(platform::ZephlibBinding& zephlib, const SharedState& state)
    : zephlib_(zephlib), state_(state) {}

void ZephlibEffects::Lag(std::int32_t ticks) { zephlib_.Lag(ticks); }

std::int64_t ZephlibEffects::counter() { return platform::performanceCounter(); }

void ZephlibEffects::P_Sound(const char* name, std::int32_t mode) {
    const auto library = state_.SoundLibPath.string();
    zephlib_.P_Sound(library.c_str(), name, mode);
}

void ZephlibEffects::SpnFrm(platform::Surface& target, const platform::Surface& background,
                            std::int32_t width, std::int32_t height, std::int32_t direction) {
    const auto library = state_.SoundLibPath.string();
    zephlib_.SpnFrm(library.c_str(), target, background, width, height, 10, direction);
}

void ZephlibEffects::GetResPic(platform::Surface& target, std::int32_t width, std::int32_t height,
                               const char* name) {
    const auto library = state_.SoundLibPath.string();
    zephlib_.GetResPic(library.c_str(), target, width, height, name, 0);
}

bool ZephlibEffects::PicLoad(platform::Surface& reference, platform::Surface& target,
                             std::int32_t width, std::int32_t height, const char* name) {
    return zephlib_.PicLoad(platform::programModule(), reference, target, width, height, name)
               .value_or(0) == 1;
}

}  // namespace voltaro::shell
