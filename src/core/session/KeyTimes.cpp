#include "core/session/KeyTimes.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace quirtel {

std::vector<KeyTime> SlowestKeys(const std::vector<Keystroke>& stream, int minCount,
                                 std::size_t limit) {
    struct Sum {
        std::uint64_t ms = 0;
        int count = 0;
    };
    std::map<char32_t, Sum> sums;
    // The first keystroke starts the clock: no time before it.
    for (std::size_t i = 1; i < stream.size(); ++i) {
        if (stream[i].kind != Keystroke::Kind::Character) {
            continue;
        }
        const std::uint32_t before = stream[i - 1].timeMs;
        const std::uint32_t now = stream[i].timeMs;
        Sum& sum = sums[stream[i].code];
        sum.ms += now >= before ? now - before : 0;
        ++sum.count;
    }
    std::vector<KeyTime> keys;
    for (const auto& [character, sum] : sums) {
        if (sum.count >= minCount) {
            keys.push_back({character, static_cast<double>(sum.ms) / sum.count, sum.count});
        }
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const KeyTime& a, const KeyTime& b) { return a.meanMs > b.meanMs; });
    if (keys.size() > limit) {
        keys.resize(limit);
    }
    return keys;
}

}  // namespace quirtel
