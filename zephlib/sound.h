// P_Sound's work, with the place its failure messages go passed in, so that a test can read the
// messages instead of facing a modal box.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace voltaro::zephlib {

// Receives one failure message: caption and text.
using MessageSink = std::function<void(std::string_view caption, std::string_view text)>;

// The desktop's message box stand-in: a modal box with one OK button when a QApplication runs on
// the calling thread, otherwise one line on standard error ("caption: text").
void showMessageBox(std::string_view caption, std::string_view text);

// Plays the "SOUND" resource `name` of the library at `libraryPath` through the process's audio
// output: asynchronously when `mode` is 1, otherwise until it has ended. A library that cannot be
// loaded sends "LoadLibrary FAILED", a resource that cannot be found "FindResource FAILED", one
// that cannot be loaded "LoadResource FAILED", each captioned "P_Sound"; a failed step makes the
// later ones fail too, and the sound still playing is stopped. Returns 1 when the audio output
// accepted the sound, otherwise 0.
std::int32_t playSoundResource(const char* libraryPath, const char* name, std::int32_t mode,
                               const MessageSink& sink);

}  // namespace voltaro::zephlib
