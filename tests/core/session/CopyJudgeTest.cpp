#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/session/CopyJudge.h"

namespace quirtel {
namespace {

using K = CopyErrorKind;

struct CountingCase {
    const char* name;
    std::string model;
    std::string typed;
    std::vector<K> kinds;  // the errors in order
    std::int64_t reached;
    std::int64_t correct;
};

// The counting rule, one row per clause (texts in Windows-1252).
TEST(CopyJudgeTest, CountsByTheRule) {
    const std::vector<CountingCase> cases = {
        {"exact", "la casa azul", "la casa azul", {}, 3, 3},
        {"whitespace alone", "la casa\nazul", "la   casa\tazul\n", {}, 3, 3},
        {"several slips in one word", "la casa azul", "la cssaa azul", {K::letra}, 3, 2},
        {"omitted", "la casa azul de Pedro", "la azul de Pedro", {K::omitida}, 5, 4},
        {"added", "la casa azul", "la casa muy azul", {K::anadida}, 3, 3},
        {"joined", "Vino de la playa", "Vino dela playa", {K::unidas}, 4, 2},
        {"split", "aunque llueva", "aun que llueva", {K::separadas}, 2, 1},
        {"unreached rest", "uno dos tres cuatro cinco", "uno dos ", {}, 2, 2},
        {"unfinished last word", "uno dos tres", "uno dos tr", {}, 2, 2},
        {"wrong last word", "uno dos tres", "uno dos tx", {K::letra}, 3, 2},
        {"tilde",
         "est\xE1 aqu\xED y ni\xF1o",
         "esta aqui y nino",
         {K::tilde, K::tilde, K::tilde},
         4,
         1},
        {"diaeresis", "ping\xFCino", "pinguino", {K::tilde}, 1, 0},
        {"capital", "Madrid es", "madrid es", {K::mayuscula}, 2, 1},
        {"capital and accent", "\xC1rbol", "arbol", {K::mayuscula}, 1, 0},
        {"punctuation",
         "Hola, dijo. \xBFQu\xE9?",
         "Hola dijo, Qu\xE9?",
         {K::puntuacion, K::puntuacion, K::puntuacion},
         3,
         0},
        {"letter", "casa", "cosa", {K::letra}, 1, 0},
        {"nothing typed", "uno dos", "", {}, 0, 0},
        {"all extra", "", "uno dos", {K::anadida, K::anadida}, 0, 0},
    };
    for (const CountingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CopyJudgement j = CopyJudge::Judge(c.model, c.typed, CopyRules{}, 0, 60);
        std::vector<K> kinds;
        for (const CopyError& e : j.errors) {
            kinds.push_back(e.kind);
        }
        EXPECT_EQ(kinds, c.kinds);
        EXPECT_EQ(j.wordsReached, c.reached);
        EXPECT_EQ(j.correctWords, c.correct);
    }
}

TEST(CopyJudgeTest, ErrorsCarryWordsPlacesAndKeySlips) {
    const std::string model = "de la casa\nque est\xE1 lejos";
    const std::string typed = "dela casa\nque esta";
    const CopyJudgement j = CopyJudge::Judge(model, typed, CopyRules{}, 120, 60);
    ASSERT_EQ(j.errors.size(), 2u);
    EXPECT_EQ(j.errors[0], (CopyError{K::unidas, "de la", "dela", 0, 4, 1, 1, 0, 5}));
    EXPECT_EQ(j.errors[1], (CopyError{K::tilde, "est\xE1", "esta", 14, 18, 2, 5, 15, 19}));
    ASSERT_EQ(j.keySlips.size(), 1u);
    EXPECT_EQ(j.keySlips[0], (KeySlip{'\xE1', 'a', 1}));
    EXPECT_EQ(j.wordsReached, 5);
    EXPECT_EQ(j.modelReachedEnd, 19u);
    EXPECT_DOUBLE_EQ(j.accuracy, 40.0);

    const CopyJudgement omitted = CopyJudge::Judge("a b c", "a\n c", CopyRules{}, 0, 60);
    ASSERT_EQ(omitted.errors.size(), 1u);
    EXPECT_EQ(omitted.errors[0], (CopyError{K::omitida, "b", "", 3, 3, 2, 2, 2, 3}));
}

TEST(CopyJudgeTest, FiguresAndVerdictFollowTheRules) {
    // 300 keystrokes in 60 s with 2 errors.
    const std::string model = "uno dos tres";
    const std::string typed = "uno dis trs";
    CopyRules rules;
    CopyJudgement j = CopyJudge::Judge(model, typed, rules, 300, 60);
    EXPECT_DOUBLE_EQ(j.grossSpeed, 300.0);
    EXPECT_DOUBLE_EQ(j.netSpeed, 290.0);
    EXPECT_EQ(j.pass, std::nullopt);

    rules.penalty = 1000;  // clamped to 100: never below 0
    EXPECT_DOUBLE_EQ(CopyJudge::Judge(model, typed, rules, 300, 60).netSpeed, 100.0);
    rules.penalty = 200;
    EXPECT_DOUBLE_EQ(CopyJudge::Judge(model, typed, rules, 300, 30).netSpeed, 200.0);
    rules.penalty = 100;
    rules.passMark = 100;
    EXPECT_EQ(CopyJudge::Judge(model, typed, rules, 300, 60).pass, true);
    rules.passMark = 101;
    EXPECT_EQ(CopyJudge::Judge(model, typed, rules, 300, 60).pass, false);
    rules.passMark = 0;
    rules.maxErrorsPercent = 66;  // 2 of 3 words is 66.7 %
    EXPECT_EQ(CopyJudge::Judge(model, typed, rules, 300, 60).pass, false);
    rules.maxErrorsPercent = 67;
    EXPECT_EQ(CopyJudge::Judge(model, typed, rules, 300, 60).pass, true);
    EXPECT_EQ((CopyRules{0, -3, -1, 250}.Clamped()), (CopyRules{1, 0, 0, 100}));
    EXPECT_EQ(CopyJudge::CountKeystrokes("Ab\nC", true), 6);
    EXPECT_EQ(CopyJudge::CountKeystrokes("Ab\nC", false), 4);
}

// A megabyte typed against a megabyte of model, with slips of every kind
// and a skipped stretch of model, gives exactly the errors put in.
TEST(CopyJudgeTest, AlignsAMegabytePair) {
    std::mt19937 random(7);
    std::vector<std::string> words;
    for (int w = 0; w < 5000; ++w) {
        std::string word;
        for (int n = 2 + static_cast<int>(random() % 8); n > 0; --n) {
            word += static_cast<char>('a' + random() % 26);
        }
        words.push_back(word);
    }
    std::string model;
    std::string typed;
    std::int64_t expected = 0;
    std::int64_t count = 0;
    bool lastSlipped = false;
    while (model.size() < 1'000'000) {
        const std::string& word = words[random() % words.size()];
        model += word + ' ';
        ++count;
        if (count == 90'000) {
            for (int skip = 0; skip < 120; ++skip) {  // a skipped paragraph: 120 omissions
                model += words[random() % words.size()] + ' ';
                ++count;
            }
            expected += 120;
        }
        // Slips never touch, so the cheapest alignment is the one put in.
        const int slip = lastSlipped ? 100 : static_cast<int>(random() % 100);
        lastSlipped = slip < 3;
        if (slip == 0) {
            typed += word + "x ";  // letra
        } else if (slip == 1) {
            typed += word + " zzz ";  // anadida
        } else if (slip == 2) {
            ++expected;  // omitida
            continue;
        } else {
            typed += word + ' ';
            continue;
        }
        ++expected;
    }
    const CopyJudgement j = CopyJudge::Judge(model, typed, CopyRules{}, 0, 600);
    EXPECT_EQ(j.ErrorCount(), expected);
    EXPECT_EQ(j.wordsReached, count);
}

}  // namespace
}  // namespace quirtel
