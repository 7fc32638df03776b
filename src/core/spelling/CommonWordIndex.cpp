#include "core/spelling/CommonWordIndex.h"

#include <algorithm>
#include <array>

#include "core/spelling/WordCheck.h"
#include "core/spelling/WordFrequencies.h"

namespace quirtel {

namespace {

// A word's slot takes the low bits of an entry, a key's hash the others.
constexpr int ID_BITS = 24;
constexpr std::uint64_t ID_MASK = (std::uint64_t{1} << ID_BITS) - 1;
// Lookups start from a table of where each value of an entry's top bits begins.
constexpr int TOP_BITS = 16;
constexpr std::size_t TOP_VALUES = std::size_t{1} << TOP_BITS;
// Typed words longer than this are no two edits from an indexed word.
constexpr std::size_t MAX_QUERY_BYTES = CommonWordIndex::MAX_EDITED_BYTES + 2;

// FNV-1a over the bytes of `key` but those at `skipA` and `skipB`, in the
// bits above a position.
std::uint64_t HashOf(std::string_view key, std::size_t skipA = std::string_view::npos,
                     std::size_t skipB = std::string_view::npos) {
    std::uint64_t hash = 14695981039346656037u;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (i != skipA && i != skipB) {
            hash = (hash ^ static_cast<unsigned char>(key[i])) * 1099511628211u;
        }
    }
    return hash >> ID_BITS;
}

bool IsSoft(char c) {
    return c == 'e' || c == 'i';
}

bool IsVowel(char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// Calls visit(hash) for what remains of `word` with up to two letters
// removed, `word` itself included; a remainder may come more than once.
template <typename F>
void ForEachDeletion(std::string_view word, F&& visit) {
    visit(HashOf(word));
    for (std::size_t i = 0; i < word.size(); ++i) {
        visit(HashOf(word, i));
        for (std::size_t j = i + 1; j < word.size(); ++j) {
            visit(HashOf(word, i, j));
        }
    }
}

// Where the entries of each value of their top bits begin in the sorted
// `entries`, and where the last ones end.
std::vector<std::uint32_t> StartsOf(const std::vector<std::uint64_t>& entries) {
    std::vector<std::uint32_t> starts(TOP_VALUES + 1);
    std::size_t at = 0;
    for (std::size_t top = 0; top <= TOP_VALUES; ++top) {
        while (at < entries.size() && (entries[at] >> (64 - TOP_BITS)) < top) {
            ++at;
        }
        starts[top] = static_cast<std::uint32_t>(at);
    }
    return starts;
}

// Appends to `slots` the slots stored under each of `hashes` in the sorted
// `entries`, each once.
void FindAll(const std::vector<std::uint64_t>& entries, const std::vector<std::uint32_t>& starts,
             const std::vector<std::uint64_t>& hashes, std::vector<std::uint32_t>& positions) {
    for (const std::uint64_t hash : hashes) {
        const std::size_t top = hash >> (64 - ID_BITS - TOP_BITS);
        const auto first = entries.begin() + starts[top];
        auto at = std::lower_bound(first, entries.begin() + starts[top + 1], hash << ID_BITS);
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
    static_assert(MAX_WORDS <= ID_MASK + 1);
    const std::size_t size = std::min<std::size_t>(frequencies.Size(), UINT32_MAX);
    // (rank, position) of the most common words, most common first.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> order;
    order.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        order.emplace_back(frequencies.At(i).second, static_cast<std::uint32_t>(i));
    }
    std::sort(order.begin(), order.end());
    order.resize(std::min(order.size(), MAX_WORDS));
    order.shrink_to_fit();
    // The deletions of each word, as long as the budget lasts.
    const auto deletionsOf = [](std::size_t n) {
        return n <= MAX_EDITED_BYTES ? 1 + n + n * (n - 1) / 2 : 0;
    };
    std::size_t entries = 0;
    for (const auto& [rank, i] : order) {
        const std::size_t more = deletionsOf(frequencies.At(i).first.size());
        entries += entries + more <= MAX_DELETIONS ? more : 0;
    }
    deletions.reserve(entries);
    sounds.reserve(order.size());
    foldedWords.reserve(order.size());
    positions.reserve(order.size());
    std::size_t budget = MAX_DELETIONS;
    for (const auto& [rank, position] : order) {
        // Entries name a word by its slot here.
        const std::uint64_t i = foldedWords.size();
        positions.push_back(position);
        std::string& folded = foldedWords.emplace_back(frequencies.At(position).first);
        FoldAccents(folded);
        sounds.push_back(HashOf(SoundKey(folded)) << ID_BITS | i);
        if (const std::size_t more = deletionsOf(folded.size()); more > 0 && more <= budget) {
            budget -= more;
            ForEachDeletion(folded,
                            [&](std::uint64_t hash) { deletions.push_back(hash << ID_BITS | i); });
        }
    }
    std::sort(sounds.begin(), sounds.end());
    std::sort(deletions.begin(), deletions.end());
    deletions.erase(std::unique(deletions.begin(), deletions.end()), deletions.end());
    deletions.shrink_to_fit();
    soundStarts = StartsOf(sounds);
    deletionStarts = StartsOf(deletions);
}

void CommonWordIndex::FindSoundAlikes(std::string_view folded,
                                      std::vector<std::string_view>& words) const {
    const std::string key = SoundKey(folded);
    std::vector<std::uint32_t> slots;
    FindAll(sounds, soundStarts, {HashOf(key)}, slots);
    for (const std::uint32_t slot : slots) {
        if (SoundKey(foldedWords[slot]) == key) {
            words.push_back(frequencies.At(positions[slot]).first);
        }
    }
}

void CommonWordIndex::FindTwoEdits(std::string_view folded,
                                   std::vector<std::string_view>& words) const {
    if (folded.empty() || folded.size() > MAX_QUERY_BYTES) {
        return;
    }
    std::vector<std::uint64_t> hashes;
    ForEachDeletion(folded, [&](std::uint64_t hash) { hashes.push_back(hash); });
    std::sort(hashes.begin(), hashes.end());
    hashes.erase(std::unique(hashes.begin(), hashes.end()), hashes.end());
    std::vector<std::uint32_t> slots;
    FindAll(deletions, deletionStarts, hashes, slots);
    for (const std::uint32_t slot : slots) {
        if (WithinTwoEdits(folded, foldedWords[slot])) {
            words.push_back(frequencies.At(positions[slot]).first);
        }
    }
}

std::size_t CommonWordIndex::MemoryBytes() const {
    std::size_t bytes =
        (sounds.capacity() + deletions.capacity()) * sizeof(std::uint64_t) +
        foldedWords.capacity() * sizeof(std::string) +
        (positions.capacity() + soundStarts.capacity() + deletionStarts.capacity()) *
            sizeof(std::uint32_t);
    for (const std::string& w : foldedWords) {
        // Short words live inside the string object itself.
        if (w.capacity() > 15) {
            bytes += w.capacity() + 1;
        }
    }
    return bytes;
}

}  // namespace quirtel
