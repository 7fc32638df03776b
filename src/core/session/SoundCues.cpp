#include "core/session/SoundCues.h"

#include <string>

#include "core/session/SoundPlayer.h"

namespace quirtel {

void SoundCues::PlayKeyClick() {
    (void)player_.PlayFile(InFolder(KEY_CLICK_SOUND, dataFolder_));
}

void SoundCues::PlayRatingSound(double speed) {
    const std::string path = InFolder(RATING_SOUNDS[RatingSoundIndex(speed)], dataFolder_);
    if (!player_.PlayFile(path)) {
        // One beep, not a long run of them: a run would hold up the finish of
        // the test and ring on long after the result is shown.
        player_.Beep();
    }
}

int SoundCues::RatingSoundIndex(double speed) {
    int index = 0;
    // Written as "not below" so that NaN, which compares false with every
    // bound, stays at the lowest rating instead of reaching the highest.
    while (index < static_cast<int>(RATING_BOUNDS.size()) && speed >= RATING_BOUNDS[index]) {
        ++index;
    }
    return index;
}

std::vector<std::string> SoundCues::SoundFiles(std::string_view dataFolder) {
    std::vector<std::string> files{InFolder(KEY_CLICK_SOUND, dataFolder)};
    for (const std::string_view sound : RATING_SOUNDS) {
        files.push_back(InFolder(sound, dataFolder));
    }
    return files;
}

std::string SoundCues::InFolder(std::string_view sound, std::string_view dataFolder) {
    constexpr std::string_view local = "./datos/";
    if (sound.substr(0, local.size()) != local) {
        return std::string(sound);
    }
    return std::string(dataFolder) + "/" + std::string(sound.substr(local.size()));
}

}  // namespace quirtel
