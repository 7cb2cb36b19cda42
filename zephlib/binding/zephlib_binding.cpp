#include "zephlib/binding/zephlib_binding.h"

#include <utility>

#include "zephlib/zephlib.h"

namespace voltaro::platform {

ZephlibBinding::ZephlibBinding(std::filesystem::path libraryPath) : path_(std::move(libraryPath)) {}

ZephlibBinding ZephlibBinding::inFolder(const std::filesystem::path& appDir) {
    return ZephlibBinding(appDir / "Zephlib.so");
}

void* ZephlibBinding::resolveAddress(const char* name) {
    if (const auto found = exports_.find(name); found != exports_.end()) return found->second;
    if (!library_.isOpen()) {
        // A library that failed to load is tried again on the next call: it may have been put
        // back. Each failure is reported the same way.
        if (!library_.open(path_.string())) {
            error_ = library_.error();
            return nullptr;
        }
    }
    void* address = library_.symbol(name);
    if (address == nullptr) {
        error_ = library_.error();
        return nullptr;
    }
    exports_.emplace(name, address);
    return address;
}

std::optional<std::int32_t> ZephlibBinding::HexToDec(const char* hex) {
    auto* function = resolve<decltype(::HexToDec)>("HexToDec");
    if (function == nullptr) return std::nullopt;
    return function(hex);
}

std::optional<std::int32_t> ZephlibBinding::StrCvrt(char* out, std::int32_t mode,
                                                    const char* text) {
    auto* function = resolve<decltype(::StrCvrt)>("StrCvrt");
    if (function == nullptr) return std::nullopt;
    return function(out, mode, text);
}

std::optional<std::int32_t> ZephlibBinding::TransCal(char* out, std::int32_t mode, const char* text,
                                                     const char* key) {
    auto* function = resolve<decltype(::TransCal)>("TransCal");
    if (function == nullptr) return std::nullopt;
    return function(out, mode, text, key);
}

std::optional<std::int32_t> ZephlibBinding::P_Sound(const char* libraryPath, const char* name,
                                                    std::int32_t mode) {
    auto* function = resolve<decltype(::P_Sound)>("P_Sound");
    if (function == nullptr) return std::nullopt;
    return function(libraryPath, name, mode);
}

std::optional<std::int32_t> ZephlibBinding::Lag(std::int32_t ticks) {
    auto* function = resolve<decltype(::Lag)>("Lag");
    if (function == nullptr) return std::nullopt;
    return function(ticks);
}

std::optional<std::int32_t> ZephlibBinding::Sync(std::int32_t ticks) {
    auto* function = resolve<decltype(::Sync)>("Sync");
    if (function == nullptr) return std::nullopt;
    return function(ticks);
}

}  // namespace voltaro::platform
