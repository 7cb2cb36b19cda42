// The reference database's password. The program holds it only scrambled (Zephlib's TransCal,
// mode 0 with its built-in key) and recovers it through Zephlib when it opens or compacts the
// database. The build step that writes Voltaro.dat recovers it the same way, so this file is the
// one place the password lives.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace voltaro::platform {
class ZephlibBinding;
}

namespace voltaro::refdb {

// 20 hexadecimal digits: a 10-character password scrambled with the built-in key.
inline constexpr char kScrambledPassword[] = "B1E36F45B7BE55A173DB";

// The 50-character buffer the password is recovered into: the password, then NULs.
using PasswordBuffer = std::array<char, 50>;

// Recovers the password (TransCal mode 1, the stored digits, a single blank as key). nullopt when
// Zephlib cannot be bound or refuses.
std::optional<PasswordBuffer> recoverPassword(platform::ZephlibBinding& zephlib);

// The connect text used to open and to compact the database: "MS Access" immediately followed by
// the 50-character buffer.
std::string connectText(const PasswordBuffer& password);

}  // namespace voltaro::refdb
