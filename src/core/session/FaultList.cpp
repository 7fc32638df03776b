#include "core/session/FaultList.h"

#include <algorithm>

#include "core/spelling/SpellingAdvisor.h"
#include "core/spelling/WordCheck.h"

namespace quirtel {

FaultList::FaultList(const SpellingAdvisor& advisor) : advisor_(advisor) {}

void FaultList::Clear() {
    faults_.clear();
    advice_.clear();
}

void FaultList::Take(std::vector<FaultRange> faults) {
    faults_ = std::move(faults);
    advice_.assign(faults_.size(), std::nullopt);
}

std::size_t FaultList::IndexAt(int position) const {
    // Faults come in text order and never overlap.
    const auto after =
        std::upper_bound(faults_.begin(), faults_.end(), position,
                         [](int pos, const FaultRange& fault) { return pos < fault.start; });
    if (after == faults_.begin() || position >= std::prev(after)->end) {
        return NONE;
    }
    return static_cast<std::size_t>(after - faults_.begin()) - 1;
}

const FaultAdvice& FaultList::AdviceOf(std::size_t index) const {
    std::optional<FaultAdvice>& advice = advice_.at(index);
    if (!advice) {
        const std::string& token = faults_[index].token;
        advice = advisor_.Advise(token);
        if (!advice) {
            FaultAdvice unknown;
            const TokenShape shape = ShapeOfToken(token);
            unknown.word = token.substr(shape.begin, shape.end - shape.begin);
            ToLowerCp1252(unknown.word);
            advice = std::move(unknown);
        }
    }
    return *advice;
}

std::vector<FaultList::Range> FaultList::ClearWords(const std::vector<std::string>& words) {
    std::vector<Range> cleared;
    std::vector<FaultRange> kept;
    for (std::size_t i = 0; i < faults_.size(); ++i) {
        const FaultAdvice& advice = AdviceOf(i);
        const bool listed = advice.kind != FaultKind::Shape &&
                            std::find(words.begin(), words.end(), advice.word) != words.end();
        if (listed) {
            cleared.emplace_back(faults_[i].start, faults_[i].end);
        } else {
            kept.push_back(std::move(faults_[i]));
        }
    }
    // What is suggested may have changed with the new words.
    Take(std::move(kept));
    return cleared;
}

}  // namespace quirtel
