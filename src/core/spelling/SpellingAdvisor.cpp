#include "core/spelling/SpellingAdvisor.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <tuple>

#include "core/spelling/AccentIndex.h"
#include "core/spelling/CommonWordIndex.h"
#include "core/spelling/PersonalWordList.h"
#include "core/spelling/WordCheck.h"
#include "core/spelling/WordFrequencies.h"
#include "core/spelling/WordList.h"

namespace quirtel {

namespace {

// How a candidate differs from the typed word: the groups in order, and
// within the one-edit group the order that breaks ties between words equally
// common.
enum Edit : int {
    ACCENTS_ONLY,
    SOUND_ALIKE,    // a common word spelt differently for the same sound
    NEIGHBOUR_KEY,  // a letter replaced by a neighbour on the keyboard
    SWAPPED,        // two neighbouring letters swapped
    LEFT_OUT,       // the typed word lacks a letter
    TOO_MANY,       // the typed word has a letter too many
    REPLACED,       // any other letter replaced
    TWO_EDITS,      // a common word two such edits away
};

// The group of an edit: accents only, sound-alike, one edit, two edits.
int GroupOf(int edit) {
    return edit == ACCENTS_ONLY ? 0 : edit == SOUND_ALIKE ? 1 : edit == TWO_EDITS ? 3 : 2;
}

constexpr std::string_view LETTERS = "abcdefghijklmnopqrstuvwxyz";

// Whether two lower-case letters are neighbouring keys of the Spanish layout.
// Keys are placed in quarters of a key: each row lies a little to the right
// of the one above (a under q and w, z under a and s).
bool AreNeighbourKeys(char a, char b) {
    static constexpr std::string_view ROWS[] = {"qwertyuiop", "asdfghjkl\xF1", "zxcvbnm"};
    static constexpr int OFFSETS[] = {0, 1, 3};
    const auto place = [](char c, int& row, int& x) {
        for (row = 0; row < 3; ++row) {
            if (const std::size_t col = ROWS[row].find(c); col != std::string_view::npos) {
                x = static_cast<int>(col) * 4 + OFFSETS[row];
                return true;
            }
        }
        return false;
    };
    int rowA = 0, xA = 0, rowB = 0, xB = 0;
    if (!place(a, rowA, xA) || !place(b, rowB, xB)) {
        return false;
    }
    const int rows = std::abs(rowA - rowB);
    const int across = std::abs(xA - xB);
    return (rows == 0 && across == 4) || (rows == 1 && across < 4);
}

// Calls visit(variant, edit) for each string one edit away from `folded`;
// `typed` is the word before folding (same length), whose keys decide which
// replacements are neighbours. A variant may come more than once.
template <typename F>
void ForEachEdit(const std::string& folded, const std::string& typed, F&& visit) {
    const std::size_t n = folded.size();
    std::string v;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (folded[i] != folded[i + 1]) {
            v = folded;
            std::swap(v[i], v[i + 1]);
            visit(v, SWAPPED);
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        // Removing either of two equal letters gives the same word.
        if (i == 0 || folded[i] != folded[i - 1]) {
            v = folded;
            v.erase(i, 1);
            visit(v, TOO_MANY);
        }
    }
    for (std::size_t i = 0; i <= n; ++i) {
        for (const char c : LETTERS) {
            // Inserting a letter next to the same letter: done once, before it.
            if (i == 0 || folded[i - 1] != c) {
                v = folded;
                v.insert(i, 1, c);
                visit(v, LEFT_OUT);
            }
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        // ñ is a key of its own; other marked letters are typed on their base key.
        const char key = typed[i] == '\xF1' ? typed[i] : FoldAccent(typed[i]);
        for (const char c : LETTERS) {
            if (c != folded[i]) {
                v = folded;
                v[i] = c;
                visit(v, AreNeighbourKeys(key, c) ? NEIGHBOUR_KEY : REPLACED);
            }
        }
    }
}

enum class Case { Lower, Capitalised, Capitals };

Case CaseOf(std::string_view typed) {
    int upper = 0;
    int lower = 0;
    for (const char c : typed) {
        upper += ToLowerCp1252(c) != c ? 1 : 0;
        lower += ToUpperCp1252(c) != c ? 1 : 0;
    }
    if (upper >= 2 && lower == 0) {
        return Case::Capitals;
    }
    const bool firstUpper = !typed.empty() && ToLowerCp1252(typed.front()) != typed.front();
    return firstUpper ? Case::Capitalised : Case::Lower;
}

std::string InCase(std::string_view word, Case wanted) {
    std::string out(word);
    if (wanted == Case::Capitals) {
        for (char& c : out) {
            c = ToUpperCp1252(c);
        }
    } else if (wanted == Case::Capitalised && !out.empty()) {
        out.front() = ToUpperCp1252(out.front());
    }
    return out;
}

}  // namespace

struct SpellingAdvisor::Candidate {
    std::string_view word;
    int edit = ACCENTS_ONLY;
    std::uint32_t rank = WordFrequencies::NOT_RANKED;
};

SpellingAdvisor::SpellingAdvisor(const WordList& list, std::string frequencyPath)
    : list(list), frequencyPath(std::move(frequencyPath)) {}

SpellingAdvisor::~SpellingAdvisor() = default;

void SpellingAdvisor::Prepare() const {
    std::call_once(prepared, [this] {
        try {
            if (list.IsLoaded()) {
                accents = std::make_unique<AccentIndex>(list);
            }
            frequencies = std::make_unique<WordFrequencies>();
            frequencies->Load(frequencyPath);
        } catch (const std::bad_alloc&) {
            // Without them there is nothing to suggest, but every fault still
            // gets its kind.
            accents.reset();
            frequencies.reset();
            return;
        }
        try {
            common = std::make_unique<CommonWordIndex>(*frequencies);
        } catch (const std::bad_alloc&) {
            // Suggestions one edit away remain.
            common.reset();
        }
    });
}

std::size_t SpellingAdvisor::MemoryBytes() const {
    return (accents ? accents->MemoryBytes() : 0) + (frequencies ? frequencies->MemoryBytes() : 0) +
           (common ? common->MemoryBytes() : 0);
}

void SpellingAdvisor::CollectCandidates(const std::string& folded, const std::string& word,
                                        std::vector<Candidate>& found) const {
    const PersonalWordList* personal = list.PersonalList();
    std::vector<std::string_view> words;
    const auto lookUp = [&](std::string_view key, int edit) {
        if (key.empty()) {
            return;
        }
        words.clear();
        if (accents) {
            accents->Find(key, words);
        }
        if (personal != nullptr) {
            personal->FindFolded(key, words);
        }
        for (const std::string_view w : words) {
            if (w != word) {
                found.push_back({w, edit});
            }
        }
    };
    lookUp(folded, ACCENTS_ONLY);
    if (folded.size() <= MAX_EDITED_BYTES) {
        ForEachEdit(folded, word, lookUp);
    }
    if (common) {
        const auto add = [&](int edit) {
            for (const std::string_view w : words) {
                if (w != word) {
                    found.push_back({w, edit});
                }
            }
            words.clear();
        };
        words.clear();
        common->FindSoundAlikes(folded, words);
        add(SOUND_ALIKE);
        common->FindTwoEdits(folded, words);
        add(TWO_EDITS);
    }
}

bool SpellingAdvisor::HasAccentVariant(const std::string& folded, const std::string& word) const {
    std::vector<std::string_view> words;
    if (accents) {
        accents->Find(folded, words);
    }
    if (const PersonalWordList* personal = list.PersonalList()) {
        personal->FindFolded(folded, words);
    }
    return std::any_of(words.begin(), words.end(), [&](std::string_view w) { return w != word; });
}

FaultKind SpellingAdvisor::Classify(std::string_view token) const {
    const TokenShape shape = ShapeOfToken(token);
    if (shape.verdict != TokenShape::Verdict::Word) {
        return FaultKind::Shape;
    }
    std::string word(token.substr(shape.begin, shape.end - shape.begin));
    ToLowerCp1252(word);
    std::string folded = word;
    FoldAccents(folded);
    Prepare();
    return HasAccentVariant(folded, word) ? FaultKind::Accent : FaultKind::Unknown;
}

std::optional<FaultAdvice> SpellingAdvisor::Advise(std::string_view token) const {
    if (list.CheckWord(std::string(token))) {
        return std::nullopt;
    }
    const TokenShape shape = ShapeOfToken(token);
    if (shape.verdict != TokenShape::Verdict::Word) {
        return FaultAdvice{FaultKind::Shape, {}, {}};
    }
    const std::string_view typed = token.substr(shape.begin, shape.end - shape.begin);
    FaultAdvice advice;
    advice.word = std::string(typed);
    ToLowerCp1252(advice.word);
    std::string folded = advice.word;
    FoldAccents(folded);

    Prepare();
    std::vector<Candidate> found;
    CollectCandidates(folded, advice.word, found);

    // Each word once, by its closest edit.
    std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
        return std::tie(a.word, a.edit) < std::tie(b.word, b.edit);
    });
    found.erase(
        std::unique(found.begin(), found.end(),
                    [](const Candidate& a, const Candidate& b) { return a.word == b.word; }),
        found.end());
    for (Candidate& c : found) {
        c.rank = frequencies ? frequencies->RankOf(c.word) : WordFrequencies::NOT_RANKED;
    }
    std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
        return std::make_tuple(GroupOf(a.edit), a.rank, a.edit, a.word) <
               std::make_tuple(GroupOf(b.edit), b.rank, b.edit, b.word);
    });

    const bool accentsOnly = !found.empty() && found.front().edit == ACCENTS_ONLY;
    advice.kind = accentsOnly ? FaultKind::Accent : FaultKind::Unknown;
    const Case wanted = CaseOf(typed);
    // Once a suggestion is a word in common use, rare entries of the list
    // (often obscure forms) would only bury it.
    bool ranked = false;
    for (const Candidate& c : found) {
        if (advice.suggestions.size() == MAX_SUGGESTIONS) {
            break;
        }
        if (ranked && c.rank == WordFrequencies::NOT_RANKED) {
            continue;
        }
        std::string suggestion = InCase(c.word, wanted);
        // A list entry whose own ends are marks would not pass as it is.
        if (list.CheckWord(suggestion)) {
            advice.suggestions.push_back(std::move(suggestion));
            ranked = ranked || c.rank != WordFrequencies::NOT_RANKED;
        }
    }
    return advice;
}

}  // namespace quirtel
