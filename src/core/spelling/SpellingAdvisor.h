#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/spelling/FaultAdvice.h"

namespace quirtel {

class AccentIndex;
class CommonWordIndex;
class WordFrequencies;
class WordList;

// Says why the word check marks a token and what was probably meant.
//
// Kinds: a token whose shape the check refuses is FaultKind::Shape (no
// suggestions). Otherwise its looked-up word w is FaultKind::Accent when a
// word of the list (or of the personal list) differs from w only in accents,
// diaeresis or ñ/n, and FaultKind::Unknown when not.
//
// Suggestions, at most MAX_SUGGESTIONS, in four groups: the words that
// differ from w only in such marks; the common words (those of the frequency
// list) that sound like w (SoundKey: boi -> voy, aber -> haber); the words
// one edit away from w - a letter inserted, removed or replaced, or two
// neighbouring letters swapped - where a missing, extra or wrong mark costs
// no edit (ezcribio -> escribió); the common words two edits away. Each
// group is ordered by how common the word is, then by the edit: a letter
// replaced by one of its neighbours on the Spanish keyboard, two letters
// swapped, a letter left out, a letter too many, any other replacement; then
// by the words' bytes. Once a suggestion is a common word, the candidates
// that are not are left out. Each one passes the word check as suggested.
// Suggestions follow the typed word's case: lower, capitalised, or all
// capitals for a word of two or more letters in capitals (ARBOL -> ÁRBOL).
//
// The accent index, the frequency list and its index are built when first
// needed, not when the advisor is made.
class SpellingAdvisor {
public:
    static constexpr std::size_t MAX_SUGGESTIONS = 5;
    // Longer words get no one-edit suggestions: no list word is that long,
    // and the edits of a long run of characters would take too long.
    static constexpr std::size_t MAX_EDITED_BYTES = 40;

    // `list` (with its personal list) must outlive the advisor and stay
    // unchanged; `frequencyPath` names the frequency list (may be missing).
    SpellingAdvisor(const WordList& list, std::string frequencyPath);
    ~SpellingAdvisor();
    SpellingAdvisor(const SpellingAdvisor&) = delete;
    SpellingAdvisor& operator=(const SpellingAdvisor&) = delete;

    // The advice on a token (Windows-1252, as typed); nothing when the word
    // check accepts the token.
    std::optional<FaultAdvice> Advise(std::string_view token) const;
    // The kind alone of a token the word check marks, the same as Advise
    // gives, at the cost of one lookup: for texts with more faults than
    // suggestions can be searched for in reasonable time. Once Prepare has
    // run, calls may come from several threads at once.
    FaultKind Classify(std::string_view token) const;

    // Builds the accent index and reads the frequency list unless done,
    // exactly once whichever thread asks first; others wait for it.
    // Running out of memory leaves the advisor without suggestions.
    void Prepare() const;
    // Bytes the accent index and the frequency list occupy; 0 before Prepare.
    std::size_t MemoryBytes() const;

private:
    struct Candidate;
    // Whether a word other than `word` folds to `folded`.
    bool HasAccentVariant(const std::string& folded, const std::string& word) const;
    void CollectCandidates(const std::string& folded, const std::string& word,
                           std::vector<Candidate>& found) const;

    const WordList& list;
    std::string frequencyPath;
    mutable std::once_flag prepared;
    mutable std::unique_ptr<AccentIndex> accents;
    mutable std::unique_ptr<WordFrequencies> frequencies;
    mutable std::unique_ptr<CommonWordIndex> common;
};

}  // namespace quirtel
