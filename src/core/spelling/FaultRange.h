#pragma once

#include <string>

#include "core/spelling/FaultAdvice.h"

namespace quirtel {

// A faulty token where it lies in a text area: positions [start, end) in the
// area's numbering, on display line `line` (from 0), and its Windows-1252
// text. The kind is Unknown until someone asks the advisor.
struct FaultRange {
    int start = 0;
    int end = 0;
    int line = 0;
    std::string token;
    FaultKind kind = FaultKind::Unknown;

    friend bool operator==(const FaultRange&, const FaultRange&) = default;
};

}  // namespace quirtel
