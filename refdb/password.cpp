#include "refdb/password.h"

#include "zephlib/binding/zephlib_binding.h"

namespace voltaro::refdb {

std::optional<Password> recoverPassword(platform::ZephlibBinding& zephlib) {
    Password::Buffer buffer{};
    const auto done = zephlib.TransCal(buffer.data(), 1, kScrambledPassword, " ");
    if (!done || *done != 1) return std::nullopt;
    return Password(buffer);
}

}  // namespace voltaro::refdb
