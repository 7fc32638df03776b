#include "core/session/SoundCues.h"

#include <string>

#include "core/session/SoundPlayer.h"

namespace quirtel {

void SoundCues::PlayKeyClick() {
    (void)player_.PlayFile(std::string(KEY_CLICK_SOUND));
}

void SoundCues::PlayRatingSound(double speed) {
    const std::string path(RATING_SOUNDS[RatingSoundIndex(speed)]);
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

std::vector<std::string> SoundCues::SoundFiles() {
    std::vector<std::string> files{std::string(KEY_CLICK_SOUND)};
    files.insert(files.end(), RATING_SOUNDS.begin(), RATING_SOUNDS.end());
    return files;
}

}  // namespace quirtel
