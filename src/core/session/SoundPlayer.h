#pragma once

#include <string>

namespace quirtel {

// Plays WAV files without waiting. A new sound cuts off the one still playing.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing the file; false when playback could not start.
    virtual bool PlayFile(const std::string& path) = 0;
    // One short system beep.
    virtual void Beep() = 0;
};

}  // namespace quirtel
