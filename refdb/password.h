// The reference database's password. The program holds it only scrambled (Zephlib's TransCal,
// mode 0 with its built-in key) and recovers it through Zephlib when it opens or compacts the
// database. The build step that writes Voltaro.dat recovers it the same way, so this file is the
// one place the password lives.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace voltaro::platform {
class ZephlibBinding;
}

namespace voltaro::refdb {

// 20 hexadecimal digits: a 10-character password scrambled with the built-in key.
inline constexpr char kScrambledPassword[] = "B1E36F45B7BE55A173DB";

// The password that opens, compacts and writes the reference database: a plain value, passed to
// whoever opens a connection (Database::open, compactDataFile) and not kept by them.
class Password {
public:
    // The 50-character buffer the password is recovered into: the password, then NULs.
    using Buffer = std::array<char, 50>;

    // The text as given; a NUL ends it.
    explicit Password(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}
    // The text in a recovered buffer, up to its first NUL.
    explicit Password(const Buffer& buffer)
        : Password(std::string_view(buffer.data(), buffer.size())) {}

    std::string_view text() const { return text_; }

private:
    std::string text_;
};

// Recovers the password into the 50-character buffer (TransCal mode 1, the stored digits, a
// single blank as key). nullopt when Zephlib cannot be bound or refuses.
std::optional<Password> recoverPassword(platform::ZephlibBinding& zephlib);

}  // namespace voltaro::refdb
