// A shared library loaded by path, freed when the object goes. Header-only so that Zephlib can
// use it without linking anything of the program.
#pragma once

#include <dlfcn.h>

#include <string>
#include <utility>

namespace voltaro::platform {

class SharedLibrary {
public:
    SharedLibrary() = default;
    explicit SharedLibrary(const std::string& path) { open(path); }
    ~SharedLibrary() { close(); }

    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    SharedLibrary(SharedLibrary&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}
    SharedLibrary& operator=(SharedLibrary&& other) noexcept {
        if (this != &other) {
            close();
            handle_ = std::exchange(other.handle_, nullptr);
            error_ = std::move(other.error_);
        }
        return *this;
    }

    // Loads the library at `path` (a path with a "/" is never searched for elsewhere).
    bool open(const std::string& path) {
        close();
        handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr) error_ = describe("cannot load " + path);
        return handle_ != nullptr;
    }

    void close() {
        if (handle_ != nullptr) ::dlclose(handle_);
        handle_ = nullptr;
    }

    bool isOpen() const { return handle_ != nullptr; }
    void* handle() const { return handle_; }

    // The address of an exported symbol, or nullptr (and error() says why).
    void* symbol(const char* name) {
        if (handle_ == nullptr) return nullptr;
        ::dlerror();
        void* address = ::dlsym(handle_, name);
        if (address == nullptr) error_ = describe(std::string("no export ") + name);
        return address;
    }

    const std::string& error() const { return error_; }

private:
    static std::string describe(const std::string& what) {
        const char* detail = ::dlerror();
        return detail != nullptr ? what + ": " + detail : what;
    }

    void* handle_ = nullptr;
    std::string error_;
};

}  // namespace voltaro::platform
