/*
 * Zephlib: Voltaro's support library.
 *
 * Every export is a plain C function with 32-bit integer arguments and results. Texts are
 * NUL-terminated 8-bit strings owned by the caller; outputs go into buffers the caller provides
 * and sizes. Zephlib allocates nothing for the caller and keeps no state between calls; only an
 * asynchronous sound plays on after P_Sound has returned, held by the audio output as the
 * desktop's sound service would hold it.
 *
 * The program does not link against this library: it loads Zephlib.so from its own folder and
 * resolves each export by name (zephlib/binding/zephlib_binding.h). This header is the contract
 * for both sides.
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

/* ---- Handles ------------------------------------------------------------------------------
 * A surface handle is a voltaro::platform::Surface* (platform/surface.h), the stand-in for a
 * device context: the caller owns it and keeps it alive for the call. A module handle is a dlopen
 * handle of a resource module (platform/resource_module.h); the program's own is dlopen(NULL).
 * Library paths name a resource module file (the program passes <app>/Tonebank.so); Zephlib
 * loads it at the start of each call and frees it before returning.
 */
typedef void* ZephSurface;
typedef void* ZephModule;

/* ---- Pictures ------------------------------------------------------------------------------
 * Bitmaps are "BITMAP" resources: 24-bit DIB images. Copies are clipped to both pictures.
 */

/* Draws width x height pixels from the top-left corner of bitmap `name` of the library at
 * `libraryPath` onto `target`: at (155, 435) when `placement` is 1, at (0, 0) otherwise.
 * Always returns 1; a missing library, bitmap or target leaves the target as it was. */
ZEPHLIB_API int32_t GetResPic(const char* libraryPath, ZephSurface target, int32_t width,
                              int32_t height, const char* name, int32_t placement);

/* Draws width x height pixels from the top-left corner of bitmap `name` of the already loaded
 * `module` onto (0, 0) of `target`. `reference` is accepted for the caller's sake and not used.
 * Returns 1 when the bitmap was found (drawn if `target` is not null), 0 when the module has no
 * such bitmap (or is null); nothing is drawn then. */
ZEPHLIB_API int32_t PicLoad(ZephModule module, ZephSurface reference, ZephSurface target,
                            int32_t width, int32_t height, const char* name);

/* The ten-frame spin. Frame i (0 to 9) is `background` (width x height from its top-left)
 * overlaid with bitmap "<i>B" of the library at `libraryPath`: per colour component, 255 lets the
 * background through and any other value replaces it. All frames are built first; then, each
 * after a 99999-tick wait, frames 1 to 9 (direction 1) or 9 down to 0 (any other direction) are
 * copied to (0, 0) of `target`. A missing frame bitmap shows the background alone; a missing
 * library, target or background shows nothing. `frameCount` must be 10 and is not read.
 * Always returns 0. */
ZEPHLIB_API int32_t SpnFrm(const char* libraryPath, ZephSurface target, ZephSurface background,
                           int32_t width, int32_t height, int32_t frameCount, int32_t direction);

/* ---- Sound ---------------------------------------------------------------------------------
 * Plays "SOUND" resource `name` (a complete WAVE image) of the library at `libraryPath`:
 * asynchronously when `mode` is 1 (returns at once, the sound plays on), otherwise until the
 * sound has ended. A new sound, or a failed request, stops a sound still playing. Failures are
 * shown in message boxes captioned "P_Sound", in this order and with the later ones following
 * an earlier one: "LoadLibrary FAILED", "FindResource FAILED", "LoadResource FAILED" (a box
 * when a QApplication runs on the calling thread, else a line on stderr). Returns 1 when the
 * sound was accepted for playing, 0 otherwise, including when there is no audio device (which
 * is not reported). */
ZEPHLIB_API int32_t P_Sound(const char* libraryPath, const char* name, int32_t mode);

/* ---- Delays --------------------------------------------------------------------------------
 * Busy waits on the performance counter (10,000,000 ticks a second), processing nothing.
 */

/* Waits until the counter has advanced `ticks` (0 or less: no wait). Returns the low 32 bits of
 * the counter value at the start plus `ticks`. */
ZEPHLIB_API int32_t Lag(int32_t ticks);

/* Waits as Lag does and returns `ticks` unchanged. (There is no display retrace to wait for on
 * this platform.) */
ZEPHLIB_API int32_t Sync(int32_t ticks);

/* ---- Hex and scramble routines ----------------------------------------------------------
 * Character codes are taken as signed 8-bit values. Hexadecimal output is upper case with no
 * leading zeros: a code from 16 to 255 gives two digits, one from 0 to 15 a single digit.
 */

/* The value of one or two hexadecimal digits, 0 to 255 for upper-case digits ("4F" is 79, "A" 10).
 * Each character counts as its code minus 48 when the code is at most 57, otherwise minus 55;
 * nothing is rejected, so lower-case letters do not give hex values. Only the first two
 * characters are read; an empty or null text gives 0. */
ZEPHLIB_API int32_t HexToDec(const char* hex);

/* Text to hex digits (mode 0) or hex digits back to text (mode 1), written into `out`.
 * Mode 0 needs 2 * strlen(text) + 1 bytes in `out`; mode 1 needs strlen(text) / 2 + 2.
 * Mode 1 reads the digits in pairs (an odd last digit alone) and drops a pair whose value is 0.
 * Returns 1 when done, 0 when `text` is null, 2 for any other mode; `out` is untouched then. */
ZEPHLIB_API int32_t StrCvrt(char* out, int32_t mode, const char* text);

/* Keyed scramble. Modes: 0 scramble with the built-in key, 1 unscramble with it, 2 scramble with
 * `key`, 3 unscramble with `key` (`key` is ignored in modes 0 and 1; pass " ").
 * Scrambling adds the code of the key character at each position to the text character and writes
 * the sum in hex; unscrambling reads the digits in pairs and subtracts the key again (kept to
 * 8 bits). The key is used in a cycle of its length plus one: after its last character one
 * position adds its terminator (0), then it starts again. For printable ASCII texts and keys the
 * scrambled text is exactly twice as long and unscrambling gives it back.
 * Buffer sizes as for StrCvrt. Returns 1 when done; 0 for any other mode, or for a null `text` in
 * modes 1 and 3, with `out` untouched. A null `key` in modes 2 and 3 counts as an empty key. */
ZEPHLIB_API int32_t TransCal(char* out, int32_t mode, const char* text, const char* key);

#ifdef __cplusplus
}
#endif

#endif /* ZEPHLIB_H */
