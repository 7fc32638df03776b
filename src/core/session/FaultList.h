#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/spelling/FaultAdvice.h"
#include "core/spelling/FaultRange.h"

namespace quirtel {

class SpellingAdvisor;

// The faults of a finished test as data: where each lies, its token, and why
// it is a fault and what was probably meant (asked of the advisor when first
// needed). Taking a word out of the faults ("No es falta") clears every
// occurrence of it at once.
class FaultList {
public:
    // A range of positions [start, end).
    using Range = std::pair<int, int>;
    static constexpr std::size_t NONE = static_cast<std::size_t>(-1);

    // The advisor must outlive the list.
    explicit FaultList(const SpellingAdvisor& advisor);

    // Forgets every fault.
    void Clear();
    // Replaces the faults with `faults`, in text order, none advised yet.
    void Take(std::vector<FaultRange> faults);

    const std::vector<FaultRange>& Faults() const { return faults_; }
    bool Empty() const { return faults_.empty(); }
    // The index of the fault that holds the character at `position`; NONE
    // when no fault does.
    std::size_t IndexAt(int position) const;
    // The advice for fault `index`, worked out on first use. A token the
    // check accepts by now (the personal list changed) is still a fault here:
    // it gets kind Unknown, its word and no suggestions.
    const FaultAdvice& AdviceOf(std::size_t index) const;

    // Takes every fault whose word is among `words` out of the list (shape
    // faults stay: their marks are the fault) and returns their ranges. The
    // advice of the faults kept is worked out again when next asked for.
    std::vector<Range> ClearWords(const std::vector<std::string>& words);

private:
    const SpellingAdvisor& advisor_;
    std::vector<FaultRange> faults_;
    mutable std::vector<std::optional<FaultAdvice>> advice_;
};

}  // namespace quirtel
