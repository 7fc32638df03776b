#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/session/SoundPlayer.h"

struct Mix_Chunk;

namespace quirtel {

// Plays WAV files through SDL2_mixer on one mixing channel, so a new sound
// cuts off the one still playing. The audio device is opened on a background
// thread that the constructor starts; no call ever waits for the device or
// for a sound. Until the device is open, and for good when it cannot be
// opened (no sound card, no sound server), PlayFile answers false at once.
// PlayFile and Beep are meant for one thread, the user-interface thread.
class SdlSoundPlayer final : public SoundPlayer {
public:
    enum class DeviceState { Opening, Ready, Unavailable };

    // Starts opening the device. The files in preload are decoded in the
    // background right after it opens, so their first play starts at once;
    // a file missing there is simply looked for again when it is played.
    explicit SdlSoundPlayer(std::vector<std::string> preload = {});
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    bool PlayFile(const std::string& path) override;
    void Beep() override;

    DeviceState State() const { return state_.load(std::memory_order_acquire); }

private:
    struct ChunkDeleter {
        void operator()(Mix_Chunk* chunk) const;
    };
    using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

    DeviceState OpenDevice(const std::vector<std::string>& preload);
    Mix_Chunk* Chunk(const std::string& path);

    std::atomic<DeviceState> state_{DeviceState::Opening};
    bool audioInitialised_ = false;  // written by the opener, read after join
    std::map<std::string, ChunkPtr> chunks_;
    std::thread opener_;
};

}  // namespace quirtel
