#pragma once

#include <cstdint>

namespace quirtel {

// One entry of a test's keystroke stream: 12 bytes, so a 30-minute test at
// 350 keys a minute costs about 130 KB.
struct Keystroke {
    enum class Kind : std::uint8_t {
        Character,  // `code` is the Unicode character typed
        Control,    // `code` is a ControlKey
        Deleted,    // `code` is the character a deletion took out of the text
    };
    std::uint32_t timeMs;  // since the test started
    char32_t code;
    Kind kind;

    friend bool operator==(const Keystroke&, const Keystroke&) = default;
};

// The control keys a test counts as characters.
enum class ControlKey : char32_t { Backspace = 1, Enter, Tab, Escape, DeadKey, Other };

}  // namespace quirtel
