#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/files/FileResult.h"

namespace quirtel {

// How common words are: a Windows-1252 file of words, one per line, the most
// common first. It only ranks words; it never says whether one is correct.
class WordFrequencies {
public:
    static constexpr std::uint32_t NOT_RANKED = std::numeric_limits<std::uint32_t>::max();
    // Longer lines are no words and are skipped.
    static constexpr std::size_t MAX_WORD_BYTES = 64;
    // A larger file is not read: its words stay unranked.
    static constexpr std::size_t MAX_FILE_BYTES = std::size_t{16} << 20;

    // Reads `path` (LF or CR LF, each line lower-cased), replacing what was
    // loaded. A file that is missing, no regular file, unreadable or larger
    // than MAX_FILE_BYTES (tooLarge) leaves the list empty, so every word is
    // NOT_RANKED; a read error keeps the lines read before it (other). Never
    // blocks on a FIFO.
    FileResult Load(const std::string& path);

    // The 0-based line of the first line that holds `word`, or NOT_RANKED.
    std::uint32_t RankOf(std::string_view word) const;

    std::size_t Size() const { return ranks.size(); }
    // The i-th word (i < Size()) in byte order, with its rank.
    const std::pair<std::string, std::uint32_t>& At(std::size_t i) const { return ranks[i]; }
    // Bytes of memory the list occupies, about.
    std::size_t MemoryBytes() const;

private:
    // (word, rank), sorted by word, each word once with its best rank.
    std::vector<std::pair<std::string, std::uint32_t>> ranks;
};

// Where the frequency list of the word list at `wordListPath` is: the file
// "frecuencias.txt" in the same folder.
std::string FrequencyPathFor(const std::string& wordListPath);

// The Windows-1252 note (in lower case, to follow a program name) that the
// frequency list at `path` is too large to be read, so suggestions come
// unranked; empty when it is not.
std::string FrequencyListNote(const std::string& path);

}  // namespace quirtel
