// Plays WAVE images through SDL2 audio: the stand-in for the desktop's sound service behind
// P_Sound. One sound at a time, as that service does: a new request, or a failed one, stops the
// sound still playing. The service copies the samples it is given, so the caller may free the
// WAVE image (and the library it came from) as soon as play() returns.
//
// No audio device, or an image SDL cannot read, means the sound is not accepted: play() returns
// false and nothing is reported.
#pragma once

#include <SDL2/SDL.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

namespace voltaro::zephlib {

class AudioOutput {
public:
    AudioOutput() = default;
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Stops the sound still playing, then plays `wav` (a complete WAVE file image; null plays
    // nothing). Synchronous play returns when the sound has ended; asynchronous play returns at
    // once and the device is closed by itself after the end. True when the sound was accepted.
    bool play(const unsigned char* wav, std::size_t size, bool async);

    // Stops the sound still playing, if any.
    void stop();

    // The one service of this process: it outlives every call, as the desktop's does, and stops
    // any sound when the library is unloaded (SDL's audio itself is not shut down then).
    static AudioOutput& process();

    // SDL's functions, bound on the first sound (see audio_output.cpp).
    struct Sdl;

private:
    using Clock = std::chrono::steady_clock;

    void stopLocked(std::unique_lock<std::mutex>& lock);
    bool ensureAudio();
    void waitUntilPlayed(SDL_AudioDeviceID device, Clock::time_point end);

    std::mutex mutex_;
    std::condition_variable wake_;
    const Sdl* sdl_ = nullptr;  // null until SDL is loaded and its audio started
    bool audioReady_ = false;
    SDL_AudioDeviceID playing_ = 0;  // the device of the asynchronous sound, 0 when none
    std::thread closer_;             // closes `playing_` once its sound has ended
    bool cancel_ = false;
};

}  // namespace voltaro::zephlib
