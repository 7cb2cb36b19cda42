// The waits, sounds and library pictures of the panels and their transitions: the one door from
// the panel layer into Zephlib. The program passes ZephlibEffects; widget tests pass a stand-in
// that records what was asked and does not wait.
//
// Ticks are counts of the performance counter (10,000,000 a second). Sound and library-picture
// calls use the sound library at SharedState::SoundLibPath as it is at the time of the call.
#pragma once

#include <cstdint>

#include "shell/shared_state.h"

namespace voltaro::platform {
class Surface;
class ZephlibBinding;
}  // namespace voltaro::platform

namespace voltaro::shell {

class Effects {
public:
    virtual ~Effects() = default;

    // Busy-waits `ticks` (Lag); nothing is processed meanwhile. 0 or less returns at once.
    virtual void Lag(std::int32_t ticks) = 0;
    // The performance counter now, in ticks. The slides pace their steps by it.
    virtual std::int64_t counter() = 0;
    // Plays sound `name` of the sound library: mode 0 waits until it has ended, mode 1 returns at
    // once (P_Sound). Callers check the option flag first.
    virtual void P_Sound(const char* name, std::int32_t mode) = 0;
    // The ten-frame spin over `background` onto `target` (a window surface): direction 1 forward,
    // 0 backward (SpnFrm).
    virtual void SpnFrm(platform::Surface& target, const platform::Surface& background,
                        std::int32_t width, std::int32_t height, std::int32_t direction) = 0;
    // Draws width x height of the sound library's bitmap `name` at (0, 0) of `target` (GetResPic,
    // placement 0).
    virtual void GetResPic(platform::Surface& target, std::int32_t width, std::int32_t height,
                           const char* name) = 0;
    // Draws width x height of the program's own bitmap `name` at (0, 0) of `target` (PicLoad).
    // False when the program has no such bitmap.
    virtual bool PicLoad(platform::Surface& reference, platform::Surface& target,
                         std::int32_t width, std::int32_t height, const char* name) = 0;
};

// The real thing: every call goes to Zephlib through the program's binding. A call whose export
// cannot be bound does nothing (start-up has already checked that the library loads).
class ZephlibEffects : public Effects {
public:
    ZephlibEffects(platform::ZephlibBinding& zephlib, const SharedState& state);

    void Lag(std::int32_t ticks) override;
    std::int64_t counter() override;
    void P_Sound(const char* name, std::int32_t mode) override;
    void SpnFrm(platform::Surface& target, const platform::Surface& background, std::int32_t width,
                std::int32_t height, std::int32_t direction) override;
    void GetResPic(platform::Surface& target, std::int32_t width, std::int32_t height,
                   const char* name) override;
    bool PicLoad(platform::Surface& reference, platform::Surface& target, std::int32_t width,
                 std::int32_t height, const char* name) override;

private:
    platform::ZephlibBinding& zephlib_;
    const SharedState& state_;
};

}  // namespace voltaro::shell
