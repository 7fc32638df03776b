#pragma once

#include <memory>
#include <string>
#include <utility>

#include "core/session/SoundCues.h"
#include "core/session/SoundPlayer.h"

namespace quirtel {

// Plays the sounds that the typing view names under "./datos/" from the data
// folder the program chose at start-up; in "./datos" itself nothing changes.
class DataFolderSoundPlayer final : public SoundPlayer {
public:
    DataFolderSoundPlayer(std::unique_ptr<SoundPlayer> player, std::string dataFolder)
        : player_(std::move(player)), dataFolder_(std::move(dataFolder)) {}

    bool PlayFile(const std::string& path) override {
        return player_->PlayFile(SoundCues::InFolder(path, dataFolder_));
    }
    void Beep() override { player_->Beep(); }

private:
    std::unique_ptr<SoundPlayer> player_;
    std::string dataFolder_;
};

}  // namespace quirtel
