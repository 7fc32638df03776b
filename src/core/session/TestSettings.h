#pragma once

#include <cstdint>

namespace quirtel {

// The four test options, in memory only.
struct TestSettings {
    std::int32_t testLength = 600;  // seconds, set as whole minutes 1 to 30
    bool capitalsDouble = true;
    bool keySound = false;
    bool spellCheck = true;
};

}  // namespace quirtel
