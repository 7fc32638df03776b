#include "core/spelling/SpellingAdvisor.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/spelling/PersonalWordList.h"
#include "core/spelling/WordFrequencies.h"
#include "core/spelling/WordList.h"
#include "support/SpellingTestSupport.h"

namespace quirtel {
namespace {

using testing::TempDir;
using Strings = std::vector<std::string>;

struct Case {
    std::string token;
    FaultKind kind;
    Strings suggestions;
};

void ExpectAdvice(const SpellingAdvisor& advisor, const WordList& list,
                  const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const auto advice = advisor.Advise(c.token);
        ASSERT_TRUE(advice.has_value()) << c.token;
        EXPECT_EQ(advice->kind, c.kind) << c.token;
        EXPECT_EQ(advice->suggestions, c.suggestions) << c.token;
        for (const std::string& suggestion : advice->suggestions) {
            EXPECT_TRUE(list.CheckWord(suggestion)) << c.token << " -> " << suggestion;
        }
    }
}

TEST(SpellingAdvisor, KindsSuggestionsOrderAndCase) {
    const TempDir dir;
    // Words of the list in a shuffled order: the advice must not depend on it.
    const std::string path =
        dir.Write("es.dic",
                  "sanci\xF3n\nespa\xF1ol\nescribi\xF3\ncanci\xF3n\n\xE1rbol\nping\xFCino\nhola\n"
                  "casa\ncaso\nambos\na\xF1os\nanos\nmess\nmeza\nemsa\nmesas\nesa\nmisa\nfin\n"
                  "haber\nsaber\ncaber\nabre\nhacer\n");
    // Ranks: a\xF1os before ambos (its first line counts, CR LF or not); none
    // of the words around "mesa".
    dir.Write("frecuencias.txt",
              "que\ncasa\na\xF1os\r\nambos\nmundo\na\xF1os\ncaso\nhacer\nabre\nhaber\nsaber\n");
    const PersonalWordList personal(dir.Write("personal.dic", "akutagawa\n"));
    WordList list(path);
    list.SetPersonalList(&personal);
    const SpellingAdvisor advisor(list, FrequencyPathFor(path));
    EXPECT_EQ(advisor.MemoryBytes(), 0u);  // nothing is built before it is needed

    ExpectAdvice(advisor, list,
                 {
                     // Only accents, diaeresis or n/ñ differ; then the words one edit away.
                     {"cancion", FaultKind::Accent, {"canci\xF3n", "sanci\xF3n"}},
                     {"Cancion", FaultKind::Accent, {"Canci\xF3n", "Sanci\xF3n"}},
                     {"ARBOL", FaultKind::Accent, {"\xC1RBOL", "AMBOS"}},
                     {"pinguino", FaultKind::Accent, {"ping\xFCino"}},
                     {"(espanol).", FaultKind::Accent, {"espa\xF1ol"}},
                     // A missing accent costs no edit.
                     {"ezcribio", FaultKind::Unknown, {"escribi\xF3"}},
                     // Common words first, then neighbour key, swap, left out, too many, other.
                     {"cas", FaultKind::Unknown, {"casa", "caso"}},
                     // Groups: sound-alike common words, one edit, common words two edits
                     // away; once a ranked word is suggested, unranked ones (anos, caber)
                     // are dropped.
                     {"anbos", FaultKind::Unknown, {"ambos", "a\xF1os"}},
                     {"aber", FaultKind::Unknown, {"haber", "abre", "saber", "hacer"}},
                     {"mesa", FaultKind::Unknown, {"mess", "meza", "emsa", "mesas", "esa"}},
                     // Words of the personal list are suggested too.
                     {"Akutagwa", FaultKind::Unknown, {"Akutagawa"}},
                     // Shape faults, whatever the list holds.
                     {"hola..", FaultKind::Shape, {}},
                     {"\xA1\xBFQu\xE9?!", FaultKind::Shape, {}},
                     {"$5", FaultKind::Shape, {}},
                     {"\xABhola\xBB", FaultKind::Shape, {}},
                     {"xq", FaultKind::Unknown, {}},
                     {std::string(300, 'x'), FaultKind::Unknown, {}},
                 });
    for (const char* accepted : {"hola", "Canci\xF3n", "(casa).", "5", "&", "", "AKUTAGAWA"}) {
        EXPECT_FALSE(advisor.Advise(accepted).has_value()) << accepted;
    }
    EXPECT_GT(advisor.MemoryBytes(), 0u);
}

// A frequency list beyond its bound is not read (every word unranked), and
// the note says why.
TEST(SpellingAdvisor, OversizedFrequencyListIsSkippedAndSaidSo) {
    const TempDir dir;
    const std::string small = dir.Write("frecuencias.txt", "de\nla\n");
    EXPECT_EQ(FrequencyListNote(small), "");
    const std::string large = dir.Write("grande.txt", "de\n");
    ASSERT_EQ(::truncate(large.c_str(), WordFrequencies::MAX_FILE_BYTES + 1), 0);
    WordFrequencies frequencies;
    EXPECT_EQ(frequencies.Load(large).error, FileError::tooLarge);
    EXPECT_EQ(frequencies.RankOf("de"), WordFrequencies::NOT_RANKED);
    EXPECT_NE(FrequencyListNote(large).find("pasa de 16 MiB"), std::string::npos);
}

TEST(SpellingAdvisor, WithoutTheListOnlyShapesAreFaultsAndNothingIsSuggested) {
    const WordList missing("/nonexistent/es.dic");
    const SpellingAdvisor advisor(missing, "/nonexistent/frecuencias.txt");
    EXPECT_FALSE(advisor.Advise("qwz").has_value());
    const auto shape = advisor.Advise("hola?!");
    ASSERT_TRUE(shape.has_value());
    EXPECT_EQ(shape->kind, FaultKind::Shape);
}

TEST(SpellingAdvisor, ALargeFrequencyListKeepsItsIndexesBounded) {
    const TempDir dir;
    const std::string path = dir.Write("es.dic", "abcdefghijklmnopqrstuvwx\n");
    // 150,000 different words of 24 letters: each has 301 ways to lose up to
    // two letters.
    std::string words;
    for (int i = 0; i < 150'000; ++i) {
        std::string word(24, 'a');
        for (int n = i, at = 23; n > 0; n /= 26, --at) {
            word[at] = static_cast<char>('a' + n % 26);
        }
        words += word + '\n';
    }
    dir.Write("frecuencias.txt", words);
    const WordList list(path);
    const SpellingAdvisor advisor(list, FrequencyPathFor(path));
    advisor.Prepare();
    EXPECT_LE(advisor.MemoryBytes(), std::size_t{64} << 20);
    const auto advice = advisor.Advise("abcdefghijklmnopqrstuvw");
    ASSERT_TRUE(advice.has_value());
    EXPECT_EQ(advice->suggestions.front(), "abcdefghijklmnopqrstuvwx");
}

TEST(SpellingAdvisor, RealListFindsWhatWasMeant) {
    const char* source = std::getenv("QUIRTEL_SOURCE_DIR");
    const std::string path = std::string(source != nullptr ? source : "../..") + "/datos/es.dic";
    const WordList list(path);
    ASSERT_TRUE(list.IsLoaded()) << path;
    const SpellingAdvisor advisor(list, FrequencyPathFor(path));
    const struct {
        const char* token;
        FaultKind kind;
        const char* first;    // the first suggestion, or null
        const char* amongst;  // one of the five, or null
    } cases[] = {
        {"cancion", FaultKind::Accent, "canci\xF3n", nullptr},
        {"Cancion", FaultKind::Accent, "Canci\xF3n", nullptr},
        {"pinguino", FaultKind::Accent, "ping\xFCino", nullptr},
        {"espanol", FaultKind::Accent, "espa\xF1ol", nullptr},
        {"ARBOL", FaultKind::Accent, "\xC1RBOL", nullptr},
        {"tambien", FaultKind::Accent, "tambi\xE9n", nullptr},
        {"ezcribio", FaultKind::Unknown, "escribi\xF3", nullptr},
        {"rwposa", FaultKind::Unknown, nullptr, "reposa"},  // neighbour key
        {"sopal", FaultKind::Unknown, nullptr, "sopla"},    // swapped
        {"picard\xED"
         "aa",
         FaultKind::Unknown, nullptr,
         "picard\xED"
         "a"},                                                 // doubled
        {"epitaio", FaultKind::Unknown, nullptr, "epitafio"},  // left out
        {"boi", FaultKind::Unknown, "voy", nullptr},           // sounds alike
        {"yegar", FaultKind::Unknown, "llegar", nullptr},
        {"Aki", FaultKind::Unknown, "Aqu\xED", nullptr},
        {"tabrajo", FaultKind::Unknown, "trabajo", nullptr},  // two edits
        {"hola..", FaultKind::Shape, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto advice = advisor.Advise(c.token);
        ASSERT_TRUE(advice.has_value()) << c.token;
        EXPECT_EQ(advice->kind, c.kind) << c.token;
        const Strings& got = advice->suggestions;
        EXPECT_LE(got.size(), SpellingAdvisor::MAX_SUGGESTIONS) << c.token;
        if (c.first != nullptr) {
            ASSERT_FALSE(got.empty()) << c.token;
            EXPECT_EQ(got.front(), c.first) << c.token;
        }
        if (c.amongst != nullptr) {
            EXPECT_NE(std::find(got.begin(), got.end(), c.amongst), got.end()) << c.token;
        }
        for (const std::string& suggestion : got) {
            EXPECT_TRUE(list.CheckWord(suggestion)) << c.token << " -> " << suggestion;
        }
    }
    // After the first common word, every suggestion is a common word.
    WordFrequencies frequencies;
    frequencies.Load(FrequencyPathFor(path));
    for (const char* token : {"cancion", "meson", "hiva"}) {
        const auto advice = advisor.Advise(token);
        ASSERT_TRUE(advice.has_value()) << token;
        bool ranked = false;
        for (const std::string& suggestion : advice->suggestions) {
            const bool common = frequencies.RankOf(suggestion) != WordFrequencies::NOT_RANKED;
            EXPECT_TRUE(common || !ranked) << token << " -> " << suggestion;
            ranked = ranked || common;
        }
        EXPECT_TRUE(ranked) << token;
    }
    EXPECT_LE(advisor.MemoryBytes(), std::size_t{60} << 20);
}

}  // namespace
}  // namespace quirtel
