#include "core/session/FaultList.h"

#include <gtest/gtest.h>

#include "core/spelling/PersonalWordList.h"
#include "core/spelling/SpellingAdvisor.h"
#include "core/spelling/WordList.h"
#include "support/SpellingTestSupport.h"

namespace quirtel {
namespace {

TEST(FaultListTest, FindsAdvisesAndClearsEveryOccurrenceOfAWord) {
    const testing::TempDir dir;
    WordList list(dir.Write("l.dic", "hola\ncanci\xF3n\n"));
    PersonalWordList personal(dir.Path() + "/personal.dic");
    list.SetPersonalList(&personal);
    const SpellingAdvisor advisor(list, dir.Path() + "/none.txt");
    FaultList faults(advisor);
    // "cancion hola?! xq Cancion"
    faults.Take(
        {{0, 7, 0, "cancion"}, {13, 19, 0, "hola?!"}, {20, 22, 1, "xq"}, {23, 30, 1, "Cancion"}});

    struct Hit {
        int position;
        std::size_t index;
    } hits[] = {{-1, FaultList::NONE}, {0, 0},  {6, 0},
                {7, FaultList::NONE},  {13, 1}, {21, 2},
                {22, FaultList::NONE}, {29, 3}, {30, FaultList::NONE}};
    for (const Hit& hit : hits) {
        EXPECT_EQ(faults.IndexAt(hit.position), hit.index) << hit.position;
    }
    EXPECT_EQ(faults.AdviceOf(0).kind, FaultKind::Accent);
    EXPECT_EQ(faults.AdviceOf(1).kind, FaultKind::Shape);
    EXPECT_EQ(faults.AdviceOf(3).word, "cancion");

    // "No es falta" for the word: both spellings go, the shape fault of a
    // listed word stays, and the advice of the rest is asked for again.
    ASSERT_EQ(personal.Add({"cancion", "hola"}), PersonalWordList::Outcome::Written);
    const std::vector<FaultList::Range> cleared = faults.ClearWords({"cancion", "hola"});
    EXPECT_EQ(cleared, (std::vector<FaultList::Range>{{0, 7}, {23, 30}}));
    ASSERT_EQ(faults.Faults().size(), 2U);
    EXPECT_EQ(faults.Faults()[0].token, "hola?!");
    EXPECT_EQ(faults.IndexAt(21), 1U);
    EXPECT_EQ(faults.AdviceOf(1).word, "xq");

    faults.Clear();
    EXPECT_TRUE(faults.Empty());
    EXPECT_EQ(faults.IndexAt(13), FaultList::NONE);
}

}  // namespace
}  // namespace quirtel
