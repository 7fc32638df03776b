#pragma once

#include <cstddef>
#include <vector>

#include "core/session/Keystroke.h"

namespace quirtel {

// A character and the mean time that passed before it was typed.
struct KeyTime {
    char32_t character = 0;
    double meanMs = 0.0;
    int count = 0;

    friend bool operator==(const KeyTime&, const KeyTime&) = default;
};

// The slowest characters of a keystroke stream: for each character typed
// (Character entries), the mean of the times since the keystroke before it of
// any kind; characters typed fewer than `minCount` times are left out. At most
// `limit`, slowest first, ties in character order. Linear in the stream.
std::vector<KeyTime> SlowestKeys(const std::vector<Keystroke>& stream, int minCount = 3,
                                 std::size_t limit = 10);

}  // namespace quirtel
