// The program's one way into Zephlib. The library is loaded from the application folder the first
// time any export is called, and each export is resolved by name the first time it is called.
// A missing library or export is an ordinary result (nullopt, with bindError() saying why), never
// a crash: start-up treats it as a failed start.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/shared_library.h"

namespace voltaro::platform {

class Surface;  // platform/surface.h

class ZephlibBinding {
public:
    // `libraryPath` is the full path of Zephlib.so; nothing is loaded until the first call.
    explicit ZephlibBinding(std::filesystem::path libraryPath);

    // The library in an application folder: <appDir>/Zephlib.so.
    static ZephlibBinding inFolder(const std::filesystem::path& appDir);

    ZephlibBinding(const ZephlibBinding&) = delete;
    ZephlibBinding& operator=(const ZephlibBinding&) = delete;

    // The exports, with the library's own arguments and results (zephlib/zephlib.h). nullopt when
    // the library or the export could not be bound.
    std::optional<std::int32_t> HexToDec(const char* hex);
    std::optional<std::int32_t> StrCvrt(char* out, std::int32_t mode, const char* text);
    std::optional<std::int32_t> TransCal(char* out, std::int32_t mode, const char* text,
                                         const char* key);

    // Pictures onto surfaces; `module` is a dlopen handle (platform::programModule() for the
    // program's own bitmaps).
    std::optional<std::int32_t> GetResPic(const char* libraryPath, Surface& target,
                                          std::int32_t width, std::int32_t height, const char* name,
                                          std::int32_t placement);
    std::optional<std::int32_t> PicLoad(void* module, Surface& reference, Surface& target,
                                        std::int32_t width, std::int32_t height, const char* name);
    std::optional<std::int32_t> SpnFrm(const char* libraryPath, Surface& target,
                                       const Surface& background, std::int32_t width,
                                       std::int32_t height, std::int32_t frameCount,
                                       std::int32_t direction);
    std::optional<std::int32_t> P_Sound(const char* libraryPath, const char* name,
                                        std::int32_t mode);
    std::optional<std::int32_t> Lag(std::int32_t ticks);
    std::optional<std::int32_t> Sync(std::int32_t ticks);

    // Why the last failed bind failed ("" when none has).
    const std::string& bindError() const { return error_; }

    // Resolves an export by name on first use; nullptr when it cannot be bound. Later exports go
    // through this one door too.
    template <typename Function>
    Function* resolve(const char* name) {
        return reinterpret_cast<Function*>(resolveAddress(name));
    }

private:
    void* resolveAddress(const char* name);

    std::filesystem::path path_;
    SharedLibrary library_;
    std::unordered_map<std::string, void*> exports_;
    std::string error_;
};

}  // namespace voltaro::platform
