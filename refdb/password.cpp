#include "refdb/password.h"

#include "zephlib/binding/zephlib_binding.h"

namespace voltaro::refdb {

std::optional<PasswordBuffer> recoverPassword(platform::ZephlibBinding& zephlib) {
    PasswordBuffer buffer{};
    const auto done = zephlib.TransCal(buffer.data(), 1, kScrambledPassword, " ");
    if (!done || *done != 1) return std::nullopt;
    return buffer;
}

std::string connectText(const PasswordBuffer& password) {
    return "MS Access" + std::string(password.data(), password.size());
}

}  // namespace voltaro::refdb
