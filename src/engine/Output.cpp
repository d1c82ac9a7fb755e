#include "engine/Output.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace veltrona::engine {
namespace {

constexpr int kChannels = 2;
// About 23 ms at 44.1 kHz: the latency of a volume change or a start.
constexpr Uint16 kBufferFrames = 1024;
constexpr const char* kSilentDriver = "dummy";

}  // namespace

bool Output::open(int device, int rate) {
    close();
    rate_ = rate;
    // SDL's audio start also starts its event system, which by default takes
    // over SIGINT and SIGTERM and turns them into quit events nobody reads, so
    // the program could no longer be terminated. Leave the signals alone.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (device != 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        std::string name;
        if (device > 0) {
            const char* listed = SDL_GetAudioDeviceName(device - 1, 0);
            if (listed != nullptr) name = listed;
        }
        if (device < 0 || !name.empty()) openDevice(name.empty() ? nullptr : name.c_str());
        if (device_ == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    if (device_ == 0) openSilent();
    return device_ != 0;
}

void Output::openSilent() {
    if (!SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, kSilentDriver, SDL_HINT_OVERRIDE)) return;
    const bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    // Later opens honour the environment again.
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!started) return;
    openDevice(nullptr);
    if (device_ == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool Output::openDevice(const char* deviceName) {
    SDL_AudioSpec wanted{};
    wanted.freq = rate_;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kChannels;
    wanted.samples = kBufferFrames;
    wanted.callback = &Output::callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to the device's own format itself.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(deviceName, 0, &wanted, &obtained, 0);
    if (device == 0) return false;
    {
        const std::lock_guard lock(mutex_);
        scratch_.assign(std::max<std::size_t>(obtained.size / sizeof(std::int16_t),
                                              std::size_t{kBufferFrames} * kChannels),
                        0);
    }
    device_ = device;
    const char* driver = SDL_GetCurrentAudioDriver();
    silent_ = driver != nullptr && std::strcmp(driver, kSilentDriver) == 0;
    running_ = false;
    return true;
}

void Output::close() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        device_ = 0;
    }
    running_ = false;
    silent_ = false;
    const std::lock_guard lock(mutex_);
    streams_.clear();
}

void Output::add(std::shared_ptr<PlayStream> stream) {
    {
        const std::lock_guard lock(mutex_);
        streams_.push_back(std::move(stream));
    }
    if (device_ != 0 && !running_) {
        SDL_PauseAudioDevice(device_, 0);
        running_ = true;
    }
}

void Output::remove(const PlayStream* stream) {
    const std::lock_guard lock(mutex_);
    std::erase_if(streams_, [stream](const auto& s) { return s.get() == stream; });
}

void Output::checkLost() {
    if (device_ == 0 || silent_ || SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED) return;
    // The device went away: play on into silent output. The streams stay in
    // the list, so the new device's callback carries on where the old one
    // stopped.
    const bool wasRunning = running_;
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device_ = 0;
    openSilent();
    if (device_ != 0 && wasRunning) {
        SDL_PauseAudioDevice(device_, 0);
        running_ = true;
    }
}

void SDLCALL Output::callback(void* self, Uint8* buffer, int bytes) {
    std::memset(buffer, 0, static_cast<std::size_t>(bytes));
    static_cast<Output*>(self)->mix(
        reinterpret_cast<std::int16_t*>(buffer),
        static_cast<std::size_t>(bytes) / (kChannels * sizeof(std::int16_t)));
}

void Output::mix(std::int16_t* out, std::size_t frames) {
    const PlayStream::Clock::time_point now = PlayStream::Clock::now();
    const std::lock_guard lock(mutex_);
    frames = std::min(frames, scratch_.size() / kChannels);
    for (const auto& stream : streams_) {
        const std::size_t got = stream->render(scratch_.data(), frames, now);
        for (std::size_t i = 0; i < got * kChannels; ++i) {
            const int sum = int{out[i]} + int{scratch_[i]};
            out[i] = static_cast<std::int16_t>(std::clamp(sum, -32768, 32767));
        }
    }
}

}  // namespace veltrona::engine
