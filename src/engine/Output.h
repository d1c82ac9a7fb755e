#pragma once

// The output device: SDL audio opened as signed 16-bit stereo, with a callback
// that mixes every playing stream into the device buffer. SDL converts to
// whatever the device itself takes. When no device opens, or the device is
// lost, SDL's silent "dummy" driver takes its place; it keeps real time.

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/PlayStream.h"

namespace veltrona::engine {

class Output {
  public:
    Output() = default;
    ~Output() { close(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // Window thread. device -1: the default device; 0: silent output;
    // n >= 1: the n-th device SDL lists. False when not even silent output
    // opens.
    bool open(int device, int rate);
    void close();
    bool isOpen() const { return device_ != 0; }
    // True while the silent driver plays instead of a real device.
    bool silent() const { return silent_; }
    // Frames per second of the device format.
    int rate() const { return rate_; }

    // Window thread. The callback mixes `stream` from its next buffer on.
    void add(std::shared_ptr<PlayStream> stream);
    // Window thread. Once this returns the callback no longer touches `stream`.
    void remove(const PlayStream* stream);
    // Window thread. Moves to silent output if the device has been lost, so
    // that positions keep advancing. Cheap enough for every position query.
    void checkLost();

  private:
    // Opens `deviceName` (null: the default) of the current driver.
    bool openDevice(const char* deviceName);
    // Starts the audio subsystem on the silent driver and opens its device.
    void openSilent();
    static void SDLCALL callback(void* self, Uint8* buffer, int bytes);
    void mix(std::int16_t* out, std::size_t frames);

    SDL_AudioDeviceID device_ = 0;
    int rate_ = 0;
    bool silent_ = false;
    bool running_ = false;  // unpaused

    std::mutex mutex_;  // guards streams_ and scratch_ against the callback
    std::vector<std::shared_ptr<PlayStream>> streams_;
    std::vector<std::int16_t> scratch_;
};

}  // namespace veltrona::engine
