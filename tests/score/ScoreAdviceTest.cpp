#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <string>
#include <vector>

#include "core/spelling/SpellingAdvisor.h"
#include "core/spelling/WordList.h"
#include "score/ScoreReport.h"
#include "support/SpellingTestSupport.h"

namespace quirtel {
namespace {

// Suggestions go to the first different tokens and to every repeat of them;
// the tokens beyond the bound get the kind Advise would give, and nothing
// else, also when they are classified on several threads.
TEST(ScoreAdvice, SuggestionsForTheFirstTokensKindsForAll) {
    const testing::TempDir dir;
    const WordList list(dir.Write("es.dic", "canci\xF3n\nmundo\n"));
    const SpellingAdvisor advisor(list, dir.Path() + "/frecuencias.txt");
    const std::vector<std::string> texts = {"cancion", "xyz",    "cancion",
                                            "mundi",   "hola..", "cancion"};
    ScoreReport report;
    for (int copy = 0; copy < 600; ++copy) {
        for (const std::string& text : texts) {
            report.faultyTokens.push_back({1, 1, text});
        }
    }
    EXPECT_EQ(AdviseFaultyTokens(report, advisor, 2), 1200u);  // every "mundi" and "hola.."
    for (const FaultyToken& token : report.faultyTokens) {
        const FaultAdvice advice = *advisor.Advise(token.text);
        EXPECT_EQ(token.kind, advice.kind) << token.text;
        const bool advised = token.text == "cancion" || token.text == "xyz";
        EXPECT_EQ(token.suggestions, advised ? advice.suggestions : std::vector<std::string>{})
            << token.text;
    }
    EXPECT_EQ(report.faultyTokens[0].suggestions, std::vector<std::string>{"canci\xF3n"});
}

// A failure on a helper thread reaches the caller once all threads are done,
// instead of ending the process; every index is still visited once at most.
TEST(ScoreAdvice, HelperThreadFailuresReachTheCaller) {
    std::vector<std::atomic<int>> visits(4000);
    EXPECT_THROW(ForEachIndex(visits.size(),
                              [&](std::size_t i) {
                                  ++visits[i];
                                  if (i == 3999) {
                                      throw std::bad_alloc();
                                  }
                              }),
                 std::bad_alloc);
    for (const std::atomic<int>& count : visits) {
        EXPECT_LE(count.load(), 1);
    }
    EXPECT_EQ(visits[3999].load(), 1);
}

}  // namespace
}  // namespace quirtel
