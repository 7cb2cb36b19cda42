/*
 * Zephlib: Voltaro's support library.
 *
 * Every export is a plain C function with 32-bit integer arguments and results. Texts are
 * NUL-terminated 8-bit strings owned by the caller; outputs go into buffers the caller provides
 * and sizes. Zephlib allocates nothing for the caller and keeps no state between calls.
 *
 * The program does not link against this library: it loads Zephlib.so from its own folder and
 * resolves each export by name (platform/zephlib_binding.h). This header is the contract for both
 * sides.
 */
#ifndef ZEPHLIB_H
#define ZEPHLIB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(ZEPHLIB_BUILDING)
#define ZEPHLIB_API __attribute__((visibility("default")))
#else
#define ZEPHLIB_API
#endif

/* ---- Hex and scramble routines ----------------------------------------------------------
 * Character codes are taken as signed 8-bit values. Hexadecimal output is upper case with no
 * leading zeros: a code from 16 to 255 gives two digits, one from 0 to 15 a single digit.
 */

/* The value of one or two hexadecimal digits, 0 to 255 for upper-case digits ("4F" is 79, "A" 10).
 * Each character counts as its code minus 48 when the code is at most 57, otherwise minus 55;
 * nothing is rejected, so lower-case letters do not give hex values. Only the first two
 * characters are read; an empty or null text gives 0. */
ZEPHLIB_API int32_t HexToDec(const char *hex);

/* Text to hex digits (mode 0) or hex digits back to text (mode 1), written into `out`.
 * Mode 0 needs 2 * strlen(text) + 1 bytes in `out`; mode 1 needs strlen(text) / 2 + 2.
 * Mode 1 reads the digits in pairs (an odd last digit alone) and drops a pair whose value is 0.
 * Returns 1 when done, 0 when `text` is null, 2 for any other mode; `out` is untouched then. */
ZEPHLIB_API int32_t StrCvrt(char *out, int32_t mode, const char *text);

/* Keyed scramble. Modes: 0 scramble with the built-in key, 1 unscramble with it, 2 scramble with
 * `key`, 3 unscramble with `key` (`key` is ignored in modes 0 and 1; pass " ").
 * Scrambling adds the code of the key character at each position to the text character and writes
 * the sum in hex; unscrambling reads the digits in pairs and subtracts the key again (kept to
 * 8 bits). The key is used in a cycle of its length plus one: after its last character one
 * position adds its terminator (0), then it starts again. For printable ASCII texts and keys the
 * scrambled text is exactly twice as long and unscrambling gives it back.
 * Buffer sizes as for StrCvrt. Returns 1 when done; 0 for any other mode, or for a null `text` in
 * modes 1 and 3, with `out` untouched. A null `key` in modes 2 and 3 counts as an empty key. */
ZEPHLIB_API int32_t TransCal(char *out, int32_t mode, const char *text, const char *key);

#ifdef __cplusplus
}
#endif

#endif /* ZEPHLIB_H */
