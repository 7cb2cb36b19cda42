#include "zephlib/audio_output.h"

namespace voltaro::zephlib {

namespace {

// How long `bytes` of samples in `audio` play.
std::chrono::microseconds playingTime(const SDL_AudioSpec& audio, Uint32 bytes) {
    const Uint32 frameBytes = SDL_AUDIO_BITSIZE(audio.format) / 8 * audio.channels;
    if (frameBytes == 0 || audio.freq <= 0) return {};
    const long long frames = bytes / frameBytes;
    return std::chrono::microseconds(frames * 1'000'000LL / audio.freq);
}

// One device buffer: what the device may still be playing once the queue is empty.
std::chrono::microseconds bufferTime(const SDL_AudioSpec& audio) {
    if (audio.freq <= 0) return {};
    return std::chrono::microseconds(static_cast<long long>(audio.samples) * 1'000'000LL / audio.freq);
}

}  // namespace

AudioOutput& AudioOutput::process() {
    static AudioOutput output;
    return output;
}

AudioOutput::~AudioOutput() {
    stop();
    if (audioReady_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioOutput::stop() {
    std::unique_lock lock(mutex_);
    stopLocked(lock);
}

void AudioOutput::stopLocked(std::unique_lock<std::mutex>& lock) {
    if (closer_.joinable()) {
        cancel_ = true;
        wake_.notify_all();
        std::thread closer = std::move(closer_);
        lock.unlock();
        closer.join();
        lock.lock();
        cancel_ = false;
    }
    if (playing_ != 0) {
        SDL_CloseAudioDevice(playing_);
        playing_ = 0;
    }
}

bool AudioOutput::ensureAudio() {
    if (!audioReady_) audioReady_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    return audioReady_;
}

void AudioOutput::waitUntilPlayed(SDL_AudioDeviceID device, Clock::time_point end) {
    std::this_thread::sleep_until(end);
    while (SDL_GetQueuedAudioSize(device) > 0) SDL_Delay(2);
}

bool AudioOutput::play(const unsigned char* wav, std::size_t size, bool async) {
    std::unique_lock lock(mutex_);
    stopLocked(lock);
    if (wav == nullptr || size == 0 || !ensureAudio()) return false;

    SDL_AudioSpec audio{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(SDL_RWFromConstMem(wav, static_cast<int>(size)), 1, &audio, &samples,
                       &length) == nullptr)
        return false;
    // Samples are queued rather than fed by a callback; SDL converts them to what the device
    // takes, and keeps its own copy.
    audio.callback = nullptr;
    // Small device buffers: a click must start at once and a waited-for sound end promptly.
    audio.samples = 512;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &audio, nullptr, 0);
    const bool queued = device != 0 && SDL_QueueAudio(device, samples, length) == 0;
    SDL_FreeWAV(samples);
    if (!queued) {
        if (device != 0) SDL_CloseAudioDevice(device);
        return false;
    }
    SDL_PauseAudioDevice(device, 0);
    const Clock::time_point end = Clock::now() + playingTime(audio, length) + bufferTime(audio);

    if (!async) {
        waitUntilPlayed(device, end);
        SDL_CloseAudioDevice(device);
        return true;
    }
    playing_ = device;
    closer_ = std::thread([this, device, end] {
        std::unique_lock guard(mutex_);
        if (wake_.wait_until(guard, end, [this] { return cancel_; })) return;
        while (!cancel_ && SDL_GetQueuedAudioSize(device) > 0)
            wake_.wait_for(guard, std::chrono::milliseconds(5));
        if (!cancel_ && playing_ == device) {
            SDL_CloseAudioDevice(device);
            playing_ = 0;
        }
    });
    return true;
}

}  // namespace voltaro::zephlib
