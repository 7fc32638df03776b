#include "core/spelling/CommonWordIndex.h"

#include <algorithm>
#include <array>
#include <functional>

#include "core/spelling/WordCheck.h"
#include "core/spelling/WordFrequencies.h"

namespace quirtel {

namespace {

// Positions take the low bits of an entry, a key's hash the others.
constexpr int ID_BITS = 24;
constexpr std::uint64_t ID_MASK = (std::uint64_t{1} << ID_BITS) - 1;
// Typed words longer than this are no two edits from an indexed word.
constexpr std::size_t MAX_QUERY_BYTES = CommonWordIndex::MAX_EDITED_BYTES + 2;

std::uint64_t HashOf(std::string_view key) {
    return std::hash<std::string_view>{}(key) >> ID_BITS;
}

bool IsSoft(char c) {
    return c == 'e' || c == 'i';
}

bool IsVowel(char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// The hashes of what remains of `word` with up to two letters removed,
// `word` itself included, each once.
void DeletionHashes(std::string_view word, std::vector<std::uint64_t>& hashes) {
    hashes.clear();
    hashes.push_back(HashOf(word));
    std::string one;
    std::string two;
    for (std::size_t i = 0; i < word.size(); ++i) {
        one.assign(word.substr(0, i)).append(word.substr(i + 1));
        hashes.push_back(HashOf(one));
        for (std::size_t j = i; j < one.size(); ++j) {
            two.assign(one, 0, j).append(one, j + 1);
            hashes.push_back(HashOf(two));
        }
    }
    std::sort(hashes.begin(), hashes.end());
    hashes.erase(std::unique(hashes.begin(), hashes.end()), hashes.end());
}

// Appends to `positions` the positions stored under each of `hashes` in the
// sorted `entries`.
void FindAll(const std::vector<std::uint64_t>& entries, const std::vector<std::uint64_t>& hashes,
             std::vector<std::uint32_t>& positions) {
    for (const std::uint64_t hash : hashes) {
        auto at = std::lower_bound(entries.begin(), entries.end(), hash << ID_BITS);
        for (; at != entries.end() && (*at >> ID_BITS) == hash; ++at) {
            positions.push_back(static_cast<std::uint32_t>(*at & ID_MASK));
        }
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
}

// Whether `a` and `b` are at most two edits apart: letters inserted, removed
// or replaced, or two neighbouring letters swapped. Both are at most
// MAX_QUERY_BYTES long.
bool WithinTwoEdits(std::string_view a, std::string_view b) {
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    if ((n > m ? n - m : m - n) > CommonWordIndex::MAX_EDITS) {
        return false;
    }
    using Row = std::array<int, MAX_QUERY_BYTES + 1>;
    Row before{};
    Row last{};
    Row row{};
    for (std::size_t j = 0; j <= m; ++j) {
        last[j] = static_cast<int>(j);
    }
    for (std::size_t i = 1; i <= n; ++i) {
        row[0] = static_cast<int>(i);
        int best = row[0];
        for (std::size_t j = 1; j <= m; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({last[j] + 1, row[j - 1] + 1, last[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                row[j] = std::min(row[j], before[j - 2] + 1);
            }
            best = std::min(best, row[j]);
        }
        if (best > CommonWordIndex::MAX_EDITS) {
            return false;
        }
        before = last;
        last = row;
    }
    return last[m] <= CommonWordIndex::MAX_EDITS;
}

}  // namespace

std::string SoundKey(std::string_view w) {
    std::string key;
    key.reserve(w.size() + 2);
    // A sound said twice in a row counts once.
    const auto put = [&](char c) {
        if (key.empty() || key.back() != c) {
            key += c;
        }
    };
    const auto at = [&](std::size_t i) { return i < w.size() ? w[i] : '\0'; };
    for (std::size_t i = 0; i < w.size(); ++i) {
        const char c = w[i];
        const char next = at(i + 1);
        switch (c) {
            case 'h':
                break;
            case 'c':
                if (next == 'h') {
                    put('C');
                    ++i;
                } else {
                    put(IsSoft(next) ? 's' : 'k');
                }
                break;
            case 'q':
                put('k');
                // The u of que, qui is silent; that of quatro is not.
                if (next == 'u' && IsSoft(at(i + 2))) {
                    ++i;
                }
                break;
            case 'z':
                put('s');
                break;
            case 'x':
                put('k');
                put('s');
                break;
            case 'v':
                put('b');
                break;
            case 'g':
                if (next == 'u' && IsSoft(at(i + 2))) {
                    put('g');
                    ++i;
                } else {
                    put(IsSoft(next) ? 'j' : 'g');
                }
                break;
            case 'l':
                if (next == 'l') {
                    put('y');
                    ++i;
                } else {
                    put('l');
                }
                break;
            case 'y':
                put(IsVowel(next) ? 'y' : 'i');
                break;
            case 'm':
                put(next == 'b' || next == 'p' || next == 'v' ? 'n' : 'm');
                break;
            default:
                put(c);
        }
    }
    return key;
}

CommonWordIndex::CommonWordIndex(const WordFrequencies& frequencies) : frequencies(frequencies) {
    const std::size_t size = std::min<std::size_t>(frequencies.Size(), ID_MASK + 1);
    // The rank below which a word is among the MAX_WORDS most common.
    std::uint32_t cutoff = WordFrequencies::NOT_RANKED;
    if (size > MAX_WORDS) {
        std::vector<std::uint32_t> ranks(size);
        for (std::size_t i = 0; i < size; ++i) {
            ranks[i] = frequencies.At(i).second;
        }
        std::nth_element(ranks.begin(), ranks.begin() + MAX_WORDS, ranks.end());
        cutoff = ranks[MAX_WORDS];
    }
    foldedWords.resize(size);
    std::vector<std::uint64_t> hashes;
    for (std::size_t i = 0; i < size; ++i) {
        const auto& [word, rank] = frequencies.At(i);
        if (rank >= cutoff) {
            continue;
        }
        std::string& folded = foldedWords[i];
        folded = word;
        FoldAccents(folded);
        sounds.push_back(HashOf(SoundKey(folded)) << ID_BITS | i);
        if (folded.size() <= MAX_EDITED_BYTES) {
            DeletionHashes(folded, hashes);
            for (const std::uint64_t hash : hashes) {
                deletions.push_back(hash << ID_BITS | i);
            }
        }
    }
    std::sort(sounds.begin(), sounds.end());
    std::sort(deletions.begin(), deletions.end());
    sounds.shrink_to_fit();
    deletions.shrink_to_fit();
}

void CommonWordIndex::FindSoundAlikes(std::string_view folded,
                                      std::vector<std::string_view>& words) const {
    const std::string key = SoundKey(folded);
    std::vector<std::uint32_t> positions;
    FindAll(sounds, {HashOf(key)}, positions);
    for (const std::uint32_t p : positions) {
        if (SoundKey(foldedWords[p]) == key) {
            words.push_back(frequencies.At(p).first);
        }
    }
}

void CommonWordIndex::FindTwoEdits(std::string_view folded,
                                   std::vector<std::string_view>& words) const {
    if (folded.empty() || folded.size() > MAX_QUERY_BYTES) {
        return;
    }
    std::vector<std::uint64_t> hashes;
    DeletionHashes(folded, hashes);
    std::vector<std::uint32_t> positions;
    FindAll(deletions, hashes, positions);
    for (const std::uint32_t p : positions) {
        if (WithinTwoEdits(folded, foldedWords[p])) {
            words.push_back(frequencies.At(p).first);
        }
    }
}

std::size_t CommonWordIndex::MemoryBytes() const {
    std::size_t bytes = (sounds.capacity() + deletions.capacity()) * sizeof(std::uint64_t) +
                        foldedWords.capacity() * sizeof(std::string);
    for (const std::string& w : foldedWords) {
        // Short words live inside the string object itself.
        if (w.capacity() > 15) {
            bytes += w.capacity() + 1;
        }
    }
    return bytes;
}

}  // namespace quirtel
