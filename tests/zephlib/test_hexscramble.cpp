// Zephlib's hex conversion and keyed scramble: small domains tried whole, not sampled.
#include <QTest>

#include <array>
#include <cstring>
#include <string>

#include "refdb/password.h"
#include "zephlib/zephlib.h"

namespace {

std::string hexOf(int value) {
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    if (value >= 16) text.push_back(digits[value / 16]);
    text.push_back(digits[value % 16]);
    return text;
}

// Printable ASCII, blank included.
constexpr int kFirstPrintable = 32, kLastPrintable = 126;

struct Buffer {
    std::array<char, 512> bytes;
    Buffer() { bytes.fill('#'); }
    char* data() { return bytes.data(); }
    std::string text() const { return std::string(bytes.data()); }
    bool untouched() const {
        for (const char c : bytes)
            if (c != '#') return false;
        return true;
    }
};

}  // namespace

class TestHexScramble : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hexToDecReadsEveryByte() {
        for (int v = 0; v < 256; ++v) {
            QCOMPARE(HexToDec(hexOf(v).c_str()), v);
            // with the leading zero written out too
            const std::string padded = (v < 16 ? "0" : "") + hexOf(v);
            QCOMPARE(HexToDec(padded.c_str()), v);
        }
    }

    void hexToDecEdgeCases() {
        QCOMPARE(HexToDec("4F"), 79);
        QCOMPARE(HexToDec("FF"), 255);
        QCOMPARE(HexToDec("A"), 10);
        QCOMPARE(HexToDec("0A"), 10);
        // Nothing is rejected: a lower-case letter counts as its code minus 55.
        QCOMPARE(HexToDec("a"), 'a' - 55);
        QCOMPARE(HexToDec("1a"), 16 + 'a' - 55);
        // Outside its contract it still answers without reading past the text.
        QCOMPARE(HexToDec(""), 0);
        QCOMPARE(HexToDec(nullptr), 0);
        QCOMPARE(HexToDec("123"), 0x12);
    }

    void strCvrtWritesEveryCharacter() {
        for (int c = 1; c < 128; ++c) {
            const char text[2] = {static_cast<char>(c), '\0'};
            Buffer out;
            QCOMPARE(StrCvrt(out.data(), 0, text), 1);
            QCOMPARE(out.text(), hexOf(c));  // no leading zero: code 10 is "A"
        }
    }

    void strCvrtRoundTripsEveryPair() {
        // Codes 16 and up give two digits each, so every pair of them comes back.
        for (int a = 16; a < 128; ++a) {
            for (int b = 16; b < 128; ++b) {
                const char text[3] = {static_cast<char>(a), static_cast<char>(b), '\0'};
                Buffer hex, back;
                QCOMPARE(StrCvrt(hex.data(), 0, text), 1);
                QCOMPARE(hex.text().size(), std::size_t{4});
                QCOMPARE(StrCvrt(back.data(), 1, hex.data()), 1);
                if (back.text() != text)
                    QFAIL(qPrintable(QStringLiteral("pair %1 %2").arg(a).arg(b)));
            }
        }
    }

    void strCvrtEdgeCases() {
        Buffer out;
        QCOMPARE(StrCvrt(out.data(), 0, "abc"), 1);
        QCOMPARE(out.text(), std::string("616263"));
        QCOMPARE(StrCvrt(out.data(), 1, "616263"), 1);
        QCOMPARE(out.text(), std::string("abc"));
        QCOMPARE(StrCvrt(out.data(), 1, "410042"), 1);
        QCOMPARE(out.text(), std::string("AB"));  // the pair 00 is dropped
        QCOMPARE(StrCvrt(out.data(), 1, "41424"), 1);
        QCOMPARE(out.text(), std::string("AB\x04"));  // an odd last digit stands alone
        QCOMPARE(StrCvrt(out.data(), 0, "\n"), 1);
        QCOMPARE(out.text(), std::string("A"));
        QCOMPARE(StrCvrt(out.data(), 0, ""), 1);
        QCOMPARE(out.text(), std::string(""));
    }

    void strCvrtRefusals() {
        Buffer out;
        QCOMPARE(StrCvrt(out.data(), 5, "abc"), 2);
        QVERIFY(out.untouched());
        QCOMPARE(StrCvrt(out.data(), -1, "abc"), 2);
        QVERIFY(out.untouched());
        QCOMPARE(StrCvrt(out.data(), 0, nullptr), 0);
        QVERIFY(out.untouched());
        QCOMPARE(StrCvrt(out.data(), 1, nullptr), 0);
        QVERIFY(out.untouched());
    }

    void builtInKeyRoundTripsEveryPrintablePair() {
        for (int a = kFirstPrintable; a <= kLastPrintable; ++a) {
            for (int b = kFirstPrintable; b <= kLastPrintable; ++b) {
                const char text[3] = {static_cast<char>(a), static_cast<char>(b), '\0'};
                Buffer scrambled, back;
                QCOMPARE(TransCal(scrambled.data(), 0, text, " "), 1);
                QCOMPARE(scrambled.text().size(), std::size_t{4});
                QCOMPARE(TransCal(back.data(), 1, scrambled.data(), " "), 1);
                if (back.text() != text)
                    QFAIL(qPrintable(QStringLiteral("pair %1 %2").arg(a).arg(b)));
            }
        }
    }

    void builtInKeyCoversEveryPosition() {
        // Every printable character at every position of a text as long as the key, and beyond
        // it: the key then goes on in its cycle instead of reading past its end.
        for (int c = kFirstPrintable; c <= kLastPrintable; ++c) {
            for (const std::size_t length : {1u, 20u, 21u, 22u, 23u, 49u}) {
                const std::string text(length, static_cast<char>(c));
                Buffer scrambled, back;
                QCOMPARE(TransCal(scrambled.data(), 0, text.c_str(), " "), 1);
                QCOMPARE(TransCal(back.data(), 1, scrambled.data(), " "), 1);
                QCOMPARE(back.text(), text);
            }
        }
    }

    void builtInKeyIsUpperCaseHex() {
        Buffer scrambled;
        QCOMPARE(TransCal(scrambled.data(), 0, "zzzzzzzzzzzzzzzzzzzzz", " "), 1);
        const auto text = scrambled.text();
        QCOMPARE(text.size(), std::size_t{42});
        for (const char c : text) QVERIFY(std::strchr("0123456789ABCDEF", c) != nullptr);
    }

    void callerKeyRoundTrips() {
        // Every one-character key with every printable two-character text (longer than the key,
        // so the terminator position is used), and keys of other lengths with texts around them.
        for (int k = kFirstPrintable + 1; k <= kLastPrintable; ++k) {
            const char key[2] = {static_cast<char>(k), '\0'};
            for (int a = kFirstPrintable; a <= kLastPrintable; ++a) {
                for (int b = kFirstPrintable; b <= kLastPrintable; b += 7) {
                    const char text[4] = {static_cast<char>(a), static_cast<char>(b),
                                          static_cast<char>(a), '\0'};
                    Buffer scrambled, back;
                    QCOMPARE(TransCal(scrambled.data(), 2, text, key), 1);
                    QCOMPARE(TransCal(back.data(), 3, scrambled.data(), key), 1);
                    if (back.text() != text)
                        QFAIL(qPrintable(QStringLiteral("key %1 text %2").arg(k).arg(text)));
                }
            }
        }
        const std::string text = "The quick brown fox jumps over 13 lazy dogs!";
        for (const char* key : {"", "k", "Key", "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij"}) {
            for (std::size_t length = 0; length <= text.size(); ++length) {
                const std::string part = text.substr(0, length);
                Buffer scrambled, back;
                QCOMPARE(TransCal(scrambled.data(), 2, part.c_str(), key), 1);
                QCOMPARE(TransCal(back.data(), 3, scrambled.data(), key), 1);
                QCOMPARE(back.text(), part);
            }
        }
    }

    void callerKeyCyclesLengthPlusOne() {
        // Key "AB": positions 0 and 1 add 'A' and 'B', position 2 adds the terminator (0, the
        // character is written as it is), position 3 starts again with 'A'.
        Buffer out;
        QCOMPARE(TransCal(out.data(), 2, "0000", "AB"), 1);
        const std::string expected =
            hexOf('0' + 'A') + hexOf('0' + 'B') + hexOf('0') + hexOf('0' + 'A');
        QCOMPARE(out.text(), expected);
    }

    void transCalEdgeCases() {
        Buffer out;
        QCOMPARE(TransCal(out.data(), 0, "", " "), 1);
        QCOMPARE(out.text(), std::string(""));
        Buffer untouched;
        QCOMPARE(TransCal(untouched.data(), 4, "abc", " "), 0);
        QVERIFY(untouched.untouched());
        QCOMPARE(TransCal(untouched.data(), -1, "abc", " "), 0);
        QVERIFY(untouched.untouched());
        QCOMPARE(TransCal(untouched.data(), 1, nullptr, " "), 0);
        QVERIFY(untouched.untouched());
        QCOMPARE(TransCal(untouched.data(), 3, nullptr, "k"), 0);
        QVERIFY(untouched.untouched());
    }

    void storedPasswordDescrambles() {
        // The program's scrambled password: 20 hex digits giving 10 printable characters, and the
        // built-in key scrambles them back to the same digits.
        std::array<char, 50> buffer{};
        QCOMPARE(TransCal(buffer.data(), 1, voltaro::refdb::kScrambledPassword, " "), 1);
        const std::string password(buffer.data());
        QCOMPARE(password.size(), std::size_t{10});
        for (const char c : password) QVERIFY(c > ' ' && c <= '~');
        for (std::size_t i = password.size(); i < buffer.size(); ++i) QCOMPARE(buffer[i], '\0');
        Buffer again;
        QCOMPARE(TransCal(again.data(), 0, password.c_str(), " "), 1);
        QCOMPARE(again.text(), std::string(voltaro::refdb::kScrambledPassword));
    }
};

QTEST_APPLESS_MAIN(TestHexScramble)
#include "test_hexscramble.moc"
