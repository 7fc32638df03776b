#include "core/spelling/WordCheck.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/spelling/WordList.h"
#include "support/SpellingTestSupport.h"

namespace quirtel {
namespace {

using testing::TempDir;

TEST(WordCheckClasses, HoldExactlyTheirBytes) {
    struct Class {
        const char* name;
        std::function<bool(char)> test;
        std::string bytes;
    };
    const std::string digits = "0123456789";
    const std::vector<Class> classes = {
        {"word", IsWordChar,
         "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ" + digits +
             "\xE1\xE9\xED\xF3\xFA\xF1\xC1\xC9\xCD\xD3\xDA\xD1"},
        {"number", IsNumberChar, digits + ".,-/*+"},
        {"opening", IsOpeningMark, "\xBF\xA1\"({[<-+'"},
        {"closing", IsClosingMark, "?!\")}]>'-%"},
        {"separator", IsSeparator, ".,;:"},
        {"lone symbol", IsLoneSymbol, "&$"},
    };
    for (const Class& c : classes) {
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            EXPECT_EQ(c.test(byte), c.bytes.find(byte) != std::string::npos) << c.name << " " << b;
        }
    }
    // No character is both a closing mark and a separator.
    for (int b = 0; b < 256; ++b) {
        EXPECT_FALSE(IsClosingMark(static_cast<char>(b)) && IsSeparator(static_cast<char>(b)));
    }
}

TEST(WordCheckClasses, IsNumberAcceptsOnlyNumberCharacters) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"", true},       {"5", true},   {"1.000.000", true}, {"3,5", true},    {"-+*/", true},
        {"12:30", false}, {"1a", false}, {"50%", false},      {"1 000", false}, {"\xBD", false},
    };
    for (const auto& [word, number] : cases) {
        EXPECT_EQ(IsNumber(word), number) << word;
    }
}

TEST(WordCheckClasses, LowerCasingFollowsWindows1252) {
    const std::vector<std::pair<unsigned char, unsigned char>> pairs = {
        {'A', 'a'},
        {'Z', 'z'},
        {0xC0, 0xE0},
        {0xC1, 0xE1},
        {0xC9, 0xE9},
        {0xD1, 0xF1},
        {0xD3, 0xF3},
        {0xD6, 0xF6},
        {0xD8, 0xF8},
        {0xDA, 0xFA},
        {0xDC, 0xFC},
        {0xDE, 0xFE},
        {0x8A, 0x9A},
        {0x8C, 0x9C},
        {0x8E, 0x9E},
        {0x9F, 0xFF},
        // Left alone: multiplication sign, sharp s, lower case, undefined, ASCII around A-Z.
        {0xD7, 0xD7},
        {0xDF, 0xDF},
        {0xE1, 0xE1},
        {0x9A, 0x9A},
        {0x8D, 0x8D},
        {'@', '@'},
        {'[', '['},
        {'a', 'a'},
        {0xFF, 0xFF},
        {0x00, 0x00},
    };
    for (const auto& [from, to] : pairs) {
        EXPECT_EQ(static_cast<unsigned char>(ToLowerCp1252(static_cast<char>(from))), to)
            << static_cast<int>(from);
    }
    int changed = 0;
    for (int b = 0; b < 256; ++b) {
        const char lower = ToLowerCp1252(static_cast<char>(b));
        changed += lower != static_cast<char>(b);
        EXPECT_EQ(ToLowerCp1252(lower), lower) << b;  // lower case stays
    }
    EXPECT_EQ(changed, 26 + 23 + 7 + 4);

    std::string word =
        "\xD1"
        "AND\xDA \xC1vila";
    ToLowerCp1252(word);
    EXPECT_EQ(word,
              "\xF1"
              "and\xFA \xE1vila");
}

TEST(WordCheckClasses, UpperCasingUndoesLowerCasingAndFoldingDropsMarks) {
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        if (ToLowerCp1252(c) != c) {
            EXPECT_EQ(ToUpperCp1252(ToLowerCp1252(c)), c) << b;
        }
        if (ToUpperCp1252(c) != c) {
            EXPECT_EQ(ToLowerCp1252(ToUpperCp1252(c)), c) << b;
        }
    }
    EXPECT_EQ(ToUpperCp1252('\xDF'), '\xDF');  // sharp s has no capital here
    std::string word = "\xE1\xE0\xE2\xE4\xE9\xED\xF3\xFA\xFC\xF1\xFD\xFF\xE7\xC1Nn";
    FoldAccents(word);
    EXPECT_EQ(word,
              "aaaaeiouuny"
              "y\xE7\xC1Nn");
}

// What the check makes of a token: correct or faulty whatever the list holds,
// or the answer of the list for one word.
struct Outcome {
    enum Kind { Correct, Fault, Lookup } kind;
    std::string word;
};
const Outcome CORRECT{Outcome::Correct, {}};
const Outcome FAULT{Outcome::Fault, {}};
Outcome LookupOf(std::string word) {
    return {Outcome::Lookup, std::move(word)};
}

TEST(WordCheck, JudgesTheShapeAndLooksUpTheRest) {
    const std::vector<std::pair<std::string, Outcome>> cases = {
        {"", CORRECT},
        {"&", CORRECT},
        {"$", CORRECT},
        {"$5", FAULT},
        {"#uno", FAULT},
        {"\xABhola\xBB", FAULT},  // «hola»
        {"-", FAULT},
        {".", FAULT},
        {"...", FAULT},
        {"%", FAULT},
        {"(", FAULT},
        {"5", CORRECT},
        {"3,5", CORRECT},
        {"1.000.000", CORRECT},
        {"-5", CORRECT},
        {"+34", CORRECT},
        {"50%", CORRECT},
        {"50%.", CORRECT},
        {"(1990)", CORRECT},
        {"1/2", CORRECT},
        {"1.000.", CORRECT},
        {"12:30", LookupOf("12:30")},
        {"Hola", LookupOf("hola")},
        {"HOLA", LookupOf("hola")},
        {"hOLA", LookupOf("hola")},
        {"\xBFQu\xE9?", LookupOf("qu\xE9")},  // ¿Qué?
        {"\xA1\xBFQu\xE9?!", FAULT},          // ¡¿Qué?!
        {"(hola).", LookupOf("hola")},
        {"hola),", LookupOf("hola")},
        {"hola?.", LookupOf("hola")},
        {"hola\".", LookupOf("hola")},
        {"hola...", LookupOf("hola")},
        {"hola,...", LookupOf("hola")},
        {"x,...", LookupOf("x")},
        {"a...", LookupOf("a")},
        {"hola..", FAULT},
        {"hola.,", FAULT},
        {"hola?!", FAULT},
        {"hola!!", FAULT},
        {"hola)...", FAULT},
        {"(...)", FAULT},
        {"--", FAULT},
        {",...", FAULT},
        {"a.", LookupOf("a")},
        {"Y", LookupOf("y")},
        {"\xC9", LookupOf("\xE9")},  // É
        {"hola;", LookupOf("hola")},
        {"hola:", LookupOf("hola")},
        {"hola!", LookupOf("hola")},
        {"'hola'", LookupOf("hola")},
        {"\"hola\"", LookupOf("hola")},
        {"-hola-", LookupOf("hola")},
        {"ping\xFCino", LookupOf("ping\xFCino")},  // pingüino
        {"Ping\xFCino", LookupOf("ping\xFCino")},
        {"\xDCnico", FAULT},  // Ünico
        {"\xD1"
         "and\xFA",
         LookupOf("\xF1"
                  "and\xFA")},  // Ñandú
        {"hola,adi\xF3s", LookupOf("hola,adi\xF3s")},
        {"e-mail", LookupOf("e-mail")},
        {"l'home", LookupOf("l'home")},
        {"hola\tmundo", LookupOf("hola\tmundo")},
    };
    const TempDir dir;
    const WordList unloaded("");
    const WordList empty(dir.Write("empty.dic", ""));
    for (const auto& [token, outcome] : cases) {
        switch (outcome.kind) {
            case Outcome::Correct:
                EXPECT_TRUE(empty.CheckWord(token)) << token;
                break;
            case Outcome::Fault:
                EXPECT_FALSE(unloaded.CheckWord(token)) << token;
                break;
            case Outcome::Lookup: {
                const WordList holding(dir.Write("one.dic", "zzz\n" + outcome.word + "\n"));
                EXPECT_TRUE(holding.CheckWord(token)) << token;
                EXPECT_TRUE(unloaded.CheckWord(token)) << token;
                EXPECT_FALSE(empty.CheckWord(token)) << token;
                break;
            }
        }
    }
}

TEST(WordCheck, MissingAndEmptyListsDifferOnlyForWords) {
    const TempDir dir;
    const WordList missing(dir.Path() + "/missing.dic");
    const WordList empty(dir.Write("empty.dic", ""));
    EXPECT_TRUE(missing.CheckWord("qwz"));
    EXPECT_FALSE(missing.CheckWord("hola?!"));
    EXPECT_FALSE(empty.CheckWord("casa"));
    EXPECT_TRUE(empty.CheckWord("1.000"));
}

}  // namespace
}  // namespace quirtel
