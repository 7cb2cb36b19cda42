// Hex conversion and the keyed scramble that keeps the reference database's password out of
// plain sight in the program.
#include <cstring>
#include <string>

#include "zephlib/zephlib.h"

namespace {

// The built-in key: 21 printable ASCII characters, no blanks. The program's stored scrambled
// password is made with this key (mode 0), so the two change together.
constexpr char kBuiltInKey[22] = "Zq8!Lm#4Rv@9Tx$2Kp%We";
static_assert(sizeof(kBuiltInKey) == 22 && std::char_traits<char>::length(kBuiltInKey) == 21);

int code(char c) { return static_cast<signed char>(c); }

int digitValue(char c) { return code(c) <= 57 ? code(c) - 48 : code(c) - 55; }

void appendHex(std::string& out, int value) {
    // Sums are written as unsigned 8-bit values: printable texts never leave 16..255, and a code
    // outside that range still round-trips through the low byte.
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const unsigned v = static_cast<unsigned>(value) & 0xFFu;
    if (v >= 16) out.push_back(kDigits[v >> 4]);
    out.push_back(kDigits[v & 0x0F]);
}

void copyOut(char* out, const std::string& text) {
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
}

// The key code at position i in the cycle of length plus one: the key's characters, then its
// terminator (0), then the first character again.
int keyCode(const char* key, std::size_t keyLength, std::size_t i) {
    const std::size_t p = i % (keyLength + 1);
    return p < keyLength ? code(key[p]) : 0;
}

void scramble(char* out, const char* text, const char* key) {
    const std::size_t keyLength = std::strlen(key);
    std::string digits;
    for (std::size_t i = 0; text[i] != '\0'; ++i)
        appendHex(digits, code(text[i]) + keyCode(key, keyLength, i));
    copyOut(out, digits);
}

void unscramble(char* out, const char* text, const char* key) {
    const std::size_t keyLength = std::strlen(key);
    const std::size_t length = std::strlen(text);
    std::string plain;
    for (std::size_t pos = 0, n = 0; pos < length; pos += 2, ++n) {
        const char pair[3] = {text[pos], pos + 1 < length ? text[pos + 1] : '\0', '\0'};
        const int v = HexToDec(pair);
        plain.push_back(static_cast<char>((v - keyCode(key, keyLength, n)) & 0xFF));
    }
    copyOut(out, plain);
}

}  // namespace

extern "C" {

ZEPHLIB_API int32_t HexToDec(const char* hex) {
    if (hex == nullptr || hex[0] == '\0') return 0;
    if (hex[1] == '\0') return digitValue(hex[0]);
    return 16 * digitValue(hex[0]) + digitValue(hex[1]);
}

ZEPHLIB_API int32_t StrCvrt(char* out, int32_t mode, const char* text) {
    if (mode != 0 && mode != 1) return 2;
    if (text == nullptr) return 0;
    std::string result;
    const std::size_t length = std::strlen(text);
    if (mode == 0) {
        for (std::size_t i = 0; i < length; ++i) appendHex(result, code(text[i]));
    } else {
        for (std::size_t pos = 0; pos < length; pos += 2) {
            const char pair[3] = {text[pos], pos + 1 < length ? text[pos + 1] : '\0', '\0'};
            const int v = HexToDec(pair) & 0xFF;
            if (v != 0) result.push_back(static_cast<char>(v));
        }
    }
    copyOut(out, result);
    return 1;
}

ZEPHLIB_API int32_t TransCal(char* out, int32_t mode, const char* text, const char* key) {
    const char* used = (mode == 0 || mode == 1) ? kBuiltInKey : (key != nullptr ? key : "");
    switch (mode) {
        case 0:
        case 2:
            if (text == nullptr) return 0;  // outside the contract; refuse rather than crash
            scramble(out, text, used);
            return 1;
        case 1:
        case 3:
            if (text == nullptr) return 0;
            unscramble(out, text, used);
            return 1;
        default:
            return 0;
    }
}

}  // extern "C"
