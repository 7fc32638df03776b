#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quirtel {

class WordFrequencies;

// The sound of an accent-folded, lower-case word as Spanish spelling leaves
// it ambiguous: b and v, c (before e, i), s, z and x's s, hard c, k and qu,
// g (before e, i) and j, ll and y, y and i at a syllable's end, m and n before
// b or p sound alike, h is silent (ch stays) and doubled sounds count once.
// Words with the same key are sound-alikes: "boi" and "voy", "aber" and
// "haber", "yegar" and "llegar".
std::string SoundKey(std::string_view folded);

// The common words of a frequency list found in two ways: by their sound
// (SoundKey) and by an edit distance of at most two (accents free), through
// an index of what remains of each word with up to two letters removed.
class CommonWordIndex {
public:
    // Words indexed: the most common of the list, at most this many.
    static constexpr std::size_t MAX_WORDS = 100'000;
    // Longer words are only found by their sound.
    static constexpr std::size_t MAX_EDITED_BYTES = 24;
    // Entries of the deletion index at most (8 bytes each): less common
    // words beyond them are only found by their sound.
    static constexpr std::size_t MAX_DELETIONS = std::size_t{4} << 20;
    static constexpr int MAX_EDITS = 2;

    // Builds both indexes over `frequencies`, which must outlive it and stay
    // unchanged. Throws std::bad_alloc.
    explicit CommonWordIndex(const WordFrequencies& frequencies);

    // Appends the words of the list (lower case, with their accents) whose
    // sound key is that of `folded`.
    void FindSoundAlikes(std::string_view folded, std::vector<std::string_view>& words) const;
    // Appends the words of the list whose folded form is one or two edits
    // away from `folded` (a letter inserted, removed or replaced, or two
    // neighbouring letters swapped).
    void FindTwoEdits(std::string_view folded, std::vector<std::string_view>& words) const;

    // Bytes of memory both indexes occupy.
    std::size_t MemoryBytes() const;

private:
    const WordFrequencies& frequencies;
    // Each indexed word's folded form and its position in the list, by slot.
    std::vector<std::string> foldedWords;
    std::vector<std::uint32_t> positions;
    // (hash of a key) << ID_BITS | slot, sorted.
    std::vector<std::uint64_t> sounds;
    std::vector<std::uint64_t> deletions;
    // Where the entries of each value of their top 16 bits begin.
    std::vector<std::uint32_t> soundStarts;
    std::vector<std::uint32_t> deletionStarts;
};

}  // namespace quirtel
