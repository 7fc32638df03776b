#include "gui/typing/SdlSoundPlayer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QApplication>
#include <system_error>

namespace quirtel {
namespace {

// 512 frames at 44.1 kHz is about 12 ms: short enough that a key click is
// heard with the key, long enough not to starve on a busy machine.
constexpr int CHUNK_FRAMES = 512;
constexpr int CHANNEL = 0;

}  // namespace

void SdlSoundPlayer::ChunkDeleter::operator()(Mix_Chunk* chunk) const {
    Mix_FreeChunk(chunk);
}

SdlSoundPlayer::SdlSoundPlayer(std::vector<std::string> preload) {
    try {
        opener_ = std::thread([this, files = std::move(preload)] {
            const DeviceState state = OpenDevice(files);
            // SDL frees its per-thread data (the last error message) by
            // itself only on threads that it started.
            SDL_TLSCleanup();
            state_.store(state, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        state_.store(DeviceState::Unavailable, std::memory_order_release);
    }
}

SdlSoundPlayer::~SdlSoundPlayer() {
    if (opener_.joinable()) {
        opener_.join();
    }
    if (State() == DeviceState::Ready) {
        Mix_HaltChannel(-1);
        chunks_.clear();
        Mix_CloseAudio();
    }
    if (audioInitialised_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    // SDL_Quit also frees the hints; leave SDL alone while anything else
    // still uses it.
    if (SDL_WasInit(0) == 0) {
        SDL_Quit();
    }
}

// Runs on the opener thread. Nothing else touches SDL or chunks_ until the
// state leaves Opening (release/acquire on state_), and the destructor joins
// this thread before it cleans up.
SdlSoundPlayer::DeviceState SdlSoundPlayer::OpenDevice(const std::vector<std::string>& preload) {
    // Without this SDL installs its own SIGINT/SIGTERM handlers and Ctrl+C
    // no longer ends the program.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return DeviceState::Unavailable;
    }
    audioInitialised_ = true;
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, MIX_DEFAULT_CHANNELS,
                      CHUNK_FRAMES) != 0) {
        return DeviceState::Unavailable;
    }
    Mix_AllocateChannels(1);
    for (const std::string& path : preload) {
        (void)Chunk(path);
    }
    return DeviceState::Ready;
}

// Decoded sounds are kept for the life of the player: the sound files are
// part of the installation and do not change while the program runs.
Mix_Chunk* SdlSoundPlayer::Chunk(const std::string& path) {
    const auto found = chunks_.find(path);
    if (found != chunks_.end()) {
        return found->second.get();
    }
    ChunkPtr chunk(Mix_LoadWAV(path.c_str()));
    if (!chunk) {
        return nullptr;
    }
    return chunks_.emplace(path, std::move(chunk)).first->second.get();
}

bool SdlSoundPlayer::PlayFile(const std::string& path) {
    if (State() != DeviceState::Ready) {
        return false;
    }
    Mix_Chunk* chunk = Chunk(path);
    return chunk != nullptr && Mix_PlayChannel(CHANNEL, chunk, 0) == CHANNEL;
}

void SdlSoundPlayer::Beep() {
    QApplication::beep();
}

}  // namespace quirtel
