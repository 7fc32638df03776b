#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quirtel {

class SoundPlayer;

// The key click, played for each accepted character while the key-click
// option is on.
inline constexpr std::string_view KEY_CLICK_SOUND = "./datos/Type.wav";

// The six rating sounds, from the slowest speed (index 0) to the fastest (5).
inline constexpr std::array<std::string_view, 6> RATING_SOUNDS = {
    "./datos/0.wav", "./datos/1.wav", "./datos/2.wav",
    "./datos/3.wav", "./datos/4.wav", "./datos/5.wav",
};

// The lower bounds, in keystrokes per minute, of rating sounds 1 to 5.
inline constexpr std::array<double, 5> RATING_BOUNDS = {185.0, 200.0, 210.0, 230.0, 260.0};

// The two sound cues of a typing test, played through a SoundPlayer that
// never waits for a sound to end.
class SoundCues {
public:
    // The sounds are taken from `dataFolder`; in "./datos" they are the paths
    // above, byte for byte.
    explicit SoundCues(SoundPlayer& player, std::string dataFolder = "./datos")
        : player_(player), dataFolder_(std::move(dataFolder)) {}

    // Plays the key click; whether it could start is not looked at.
    void PlayKeyClick();

    // Plays the rating sound chosen by RatingSoundIndex(speed). When it cannot
    // be played, sounds one short system beep instead.
    void PlayRatingSound(double speed);

    // 0 to 5: the number of bounds in RATING_BOUNDS that the speed is not below
    // (185.0 gives 1, 184.99 gives 0, 260.0 gives 5). A speed that is not a
    // number gives 0.
    static int RatingSoundIndex(double speed);

    // Every file the cues may play from `dataFolder`: the key click, then
    // the rating sounds. A player can decode them ahead so that no cue waits
    // for the disk.
    static std::vector<std::string> SoundFiles(std::string_view dataFolder = "./datos");

    // A path under "./datos/" (as the sounds above) moved into `dataFolder`;
    // any other path unchanged.
    static std::string InFolder(std::string_view sound, std::string_view dataFolder);

private:
    SoundPlayer& player_;
    std::string dataFolder_;
};

}  // namespace quirtel
