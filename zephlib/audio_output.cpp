#include "zephlib/audio_output.h"

#include <dlfcn.h>

#include <type_traits>

namespace voltaro::zephlib {

// SDL is loaded on the first sound, not with Zephlib: the program loads Zephlib at start-up for its
// delays and password, and SDL with its sound-server and display libraries would add some 6 ms to
// every start. It stays loaded for the rest of the process (its audio thread may outlive a call).
// A machine without SDL plays no sound, which is "not accepted", not an error.
struct AudioOutput::Sdl {
    decltype(&::SDL_SetHint) SetHint;
    decltype(&::SDL_InitSubSystem) InitSubSystem;
    decltype(&::SDL_RWFromConstMem) RWFromConstMem;
    decltype(&::SDL_LoadWAV_RW) LoadWAV_RW;
    decltype(&::SDL_FreeWAV) FreeWAV;
    decltype(&::SDL_OpenAudioDevice) OpenAudioDevice;
    decltype(&::SDL_QueueAudio) QueueAudio;
    decltype(&::SDL_PauseAudioDevice) PauseAudioDevice;
    decltype(&::SDL_GetQueuedAudioSize) GetQueuedAudioSize;
    decltype(&::SDL_CloseAudioDevice) CloseAudioDevice;
    decltype(&::SDL_Delay) Delay;

    // The library's functions, or null when it or one of them cannot be found.
    static const Sdl* load() {
        static const Sdl* const loaded = []() -> const Sdl* {
            void* library = ::dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
            if (library == nullptr) return nullptr;
            static Sdl sdl{};
            bool complete = true;
            auto bind = [&](auto& function, const char* name) {
                function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                    ::dlsym(library, name));
                complete = complete && function != nullptr;
            };
            bind(sdl.SetHint, "SDL_SetHint");
            bind(sdl.InitSubSystem, "SDL_InitSubSystem");
            bind(sdl.RWFromConstMem, "SDL_RWFromConstMem");
            bind(sdl.LoadWAV_RW, "SDL_LoadWAV_RW");
            bind(sdl.FreeWAV, "SDL_FreeWAV");
            bind(sdl.OpenAudioDevice, "SDL_OpenAudioDevice");
            bind(sdl.QueueAudio, "SDL_QueueAudio");
            bind(sdl.PauseAudioDevice, "SDL_PauseAudioDevice");
            bind(sdl.GetQueuedAudioSize, "SDL_GetQueuedAudioSize");
            bind(sdl.CloseAudioDevice, "SDL_CloseAudioDevice");
            bind(sdl.Delay, "SDL_Delay");
            return complete ? &sdl : nullptr;
        }();
        return loaded;
    }
};

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
    return std::chrono::microseconds(static_cast<long long>(audio.samples) * 1'000'000LL /
                                     audio.freq);
}

}  // namespace

AudioOutput& AudioOutput::process() {
    static AudioOutput output;
    return output;
}

AudioOutput::~AudioOutput() {
    // SDL's audio is left running: this runs while Zephlib is being unloaded, with the loader's
    // lock held, and shutting SDL's audio down joins its device watch, which may itself be
    // waiting for that lock to load a sound-system module (with ALSA and no sound card it always
    // does, once more, on its way out): the process would hang. SDL stays loaded and plays from
    // its own copies, so nothing of Zephlib is left in use; its threads end with the process.
    stop();
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
        sdl_->CloseAudioDevice(playing_);
        playing_ = 0;
    }
}

bool AudioOutput::ensureAudio() {
    if (!audioReady_) {
        sdl_ = Sdl::load();
        // SDL would otherwise take over SIGINT and SIGTERM from the first sound on, and the
        // program would no longer end when the session or the user asks it to.
        if (sdl_ != nullptr) sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        audioReady_ = sdl_ != nullptr && sdl_->InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    return audioReady_;
}

void AudioOutput::waitUntilPlayed(SDL_AudioDeviceID device, Clock::time_point end) {
    std::this_thread::sleep_until(end);
    while (sdl_->GetQueuedAudioSize(device) > 0) sdl_->Delay(2);
}

bool AudioOutput::play(const unsigned char* wav, std::size_t size, bool async) {
    std::unique_lock lock(mutex_);
    stopLocked(lock);
    if (wav == nullptr || size == 0 || !ensureAudio()) return false;

    SDL_AudioSpec audio{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (sdl_->LoadWAV_RW(sdl_->RWFromConstMem(wav, static_cast<int>(size)), 1, &audio, &samples,
                         &length) == nullptr)
        return false;
    // Samples are queued rather than fed by a callback; SDL converts them to what the device
    // takes, and keeps its own copy.
    audio.callback = nullptr;
    // Small device buffers: a click must start at once and a waited-for sound end promptly.
    audio.samples = 512;
    const SDL_AudioDeviceID device = sdl_->OpenAudioDevice(nullptr, 0, &audio, nullptr, 0);
    const bool queued = device != 0 && sdl_->QueueAudio(device, samples, length) == 0;
    sdl_->FreeWAV(samples);
    if (!queued) {
        if (device != 0) sdl_->CloseAudioDevice(device);
        return false;
    }
    sdl_->PauseAudioDevice(device, 0);
    const Clock::time_point end = Clock::now() + playingTime(audio, length) + bufferTime(audio);

    if (!async) {
        waitUntilPlayed(device, end);
        sdl_->CloseAudioDevice(device);
        return true;
    }
    playing_ = device;
    closer_ = std::thread([this, device, end] {
        std::unique_lock guard(mutex_);
        if (wake_.wait_until(guard, end, [this] { return cancel_; })) return;
        while (!cancel_ && sdl_->GetQueuedAudioSize(device) > 0)
            wake_.wait_for(guard, std::chrono::milliseconds(5));
        if (!cancel_ && playing_ == device) {
            sdl_->CloseAudioDevice(device);
            playing_ = 0;
        }
    });
    return true;
}

}  // namespace voltaro::zephlib
