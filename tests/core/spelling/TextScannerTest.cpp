#include "core/spelling/TextScanner.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/session/InMemoryTextArea.h"
#include "core/spelling/WordList.h"
#include "support/SpellingTestSupport.h"

namespace quirtel {
namespace {

using testing::TempDir;

// Passes every operation on to an in-memory area and writes down those that
// change it, and how often the text was read.
class RecordingTextArea final : public TextArea {
public:
    explicit RecordingTextArea(InMemoryTextArea& area) : area(area) {}

    int LineCount() const override { return ++reads, area.LineCount(); }
    int LineIndex(int line) const override { return ++reads, area.LineIndex(line); }
    int LineLength(int position) const override { return ++reads, area.LineLength(position); }
    int GetLine(int line, int capacity, std::string& out) const override {
        return ++reads, area.GetLine(line, capacity, out);
    }
    int TextLength() const override { return ++reads, area.TextLength(); }
    void SetSelection(int start, int end) override {
        calls.push_back("select " + std::to_string(start) + " " + std::to_string(end));
        area.SetSelection(start, end);
    }
    void DeleteSelection() override { calls.push_back("delete"), area.DeleteSelection(); }
    void CopySelection() override { calls.push_back("copy"), area.CopySelection(); }
    CharFormat DefaultCharFormat() const override { return ++reads, area.DefaultCharFormat(); }
    void FormatSelection(const CharFormat& format) override {
        calls.push_back(format == CharFormat{FAULT_MARK_COLOUR, true} ? "mark" : "other format");
        area.FormatSelection(format);
    }

    mutable int reads = 0;
    std::vector<std::string> calls;

private:
    InMemoryTextArea& area;
};

TEST(TextScannerCount, CountsCharactersLineBreaksAndCapitals) {
    struct Case {
        int width;
        std::string text;
        int characters;
        int lineBreaks;
        int capitals;
    };
    const std::vector<Case> cases = {
        {0, "", 0, 0, 0},
        {0, "abc\nde", 5, 1, 0},
        {0, "abc\n", 3, 1, 0},
        {0, "\n\n", 0, 2, 0},
        {0,
         "\xD1"
         "and\xFA \xC1vila",
         11, 0, 0},  // Ñandú Ávila
        {0, "Hola Mundo ABC", 14, 0, 5},
        {0, "Uno\nDos\nTRES\n", 10, 3, 6},
        {5, "Hola mundo cruel", 16, 0, 1},  // wrapped lines are no line breaks
        {3, "abcdefg\nhi", 9, 1, 0},
    };
    for (const Case& c : cases) {
        InMemoryTextArea area(c.width);
        area.SetText(c.text);
        TextScanner scanner(area, true, nullptr);
        EXPECT_EQ(scanner.characters, -1);
        scanner.CountText();
        EXPECT_EQ(scanner.characters, c.characters) << c.text;
        EXPECT_EQ(scanner.lineBreaks, c.lineBreaks) << c.text;
        EXPECT_EQ(scanner.capitals, c.capitals) << c.text;
        EXPECT_EQ(scanner.faults, -1) << c.text;
    }
}

// The positions that the faults found cover.
std::set<int> Marked(const TextScanner& scanner) {
    std::set<int> marked;
    for (const FaultRange& fault : scanner.faultRanges) {
        for (int p = fault.start; p < fault.end; ++p) {
            marked.insert(p);
        }
    }
    return marked;
}

std::set<int> Range(int start, int end) {
    std::set<int> positions;
    for (int p = start; p < end; ++p) {
        positions.insert(p);
    }
    return positions;
}

std::set<int> operator+(std::set<int> a, const std::set<int>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

TEST(TextScannerSpelling, MarksAndCountsFaultyTokens) {
    struct Case {
        const char* name;
        int width;
        std::string text;
        int faults;
        std::set<int> marked;
    };
    const std::vector<Case> cases = {
        {"empty", 0, "", 0, {}},
        {"spaces only", 0, "     ", 0, {}},
        {"two spaces between", 0, "Hola  mundo", 0, {}},
        {"spaces around", 0, "  hola  ", 0, {}},
        {"fault at the very end", 0, "hola qwz", 1, Range(5, 8)},
        {"fault at the start", 0, "qwz hola", 1, Range(0, 3)},
        {"same fault three times", 0, "qwz hola qwz qwz", 3,
         Range(0, 3) + Range(9, 12) + Range(13, 16)},
        {"stripped marks are marked too", 0, "(qwz).", 1, Range(0, 6)},
        {"tab joins", 0, "hola\tmundo", 1, Range(0, 10)},
        {"second paragraph", 0, "hola\nqwz casa", 1, Range(5, 8)},
        {"shape fault", 0, "hola?! casa", 1, Range(0, 6)},
        {"number", 0, "casa 1.000 casa", 0, {}},
        {"capitals", 0, "HOLA Casa", 0, {}},
        {"one token unwrapped", 0, "casacasa", 1, Range(0, 8)},
        {"a wrapped token is two", 4, "casacasa", 0, {}},
        {"wrapped line keeps positions", 5, "hola qwz casa", 1, Range(5, 8)},
    };
    const TempDir dir;
    const WordList list(dir.Write("l.dic", "hola\nmundo\ncasa\n"));
    for (const Case& c : cases) {
        InMemoryTextArea area(c.width);
        area.SetText(c.text);
        TextScanner scanner(area, true, &list);
        scanner.CheckSpelling();
        EXPECT_EQ(scanner.faults, c.faults) << c.name;
        EXPECT_EQ(Marked(scanner), c.marked) << c.name;
    }
}

TEST(TextScannerSpelling, FaultsComeAsRangesAndTheTextIsLeftAlone) {
    const TempDir dir;
    const WordList list(dir.Write("l.dic", "hola\n"));
    InMemoryTextArea area(0);
    area.SetText("hola qwz\n  xx");
    RecordingTextArea recorder(area);
    TextScanner scanner(recorder, true, &list);
    scanner.CheckSpelling();
    EXPECT_EQ(scanner.faults, 2);
    EXPECT_EQ(scanner.faultRanges, (std::vector<FaultRange>{{5, 8, 0, "qwz"}, {11, 13, 1, "xx"}}));
    EXPECT_TRUE(recorder.calls.empty());
}

TEST(TextScannerSpelling, InactiveSpellingNeitherReadsNorMarks) {
    const TempDir dir;
    const WordList list(dir.Write("l.dic", "hola\n"));
    struct Case {
        const char* name;
        bool spellCheck;
        const WordList* wordList;
    };
    for (const Case& c :
         {Case{"switched off", false, &list}, Case{"no word list", true, nullptr}}) {
        InMemoryTextArea area(0);
        area.SetText("qwz xyz?! \xABmal\xBB");
        RecordingTextArea recorder(area);
        TextScanner scanner(recorder, c.spellCheck, c.wordList);
        EXPECT_FALSE(scanner.spellingActive) << c.name;
        scanner.CheckSpelling();
        EXPECT_EQ(scanner.faults, 0) << c.name;
        EXPECT_EQ(recorder.reads, 0) << c.name;
        EXPECT_TRUE(recorder.calls.empty()) << c.name;
    }
}

TEST(TextScannerSpelling, MissingWordListMarksOnlyShapeFaults) {
    const TempDir dir;
    const WordList missing(dir.Path() + "/missing.dic");
    InMemoryTextArea area(0);
    area.SetText("qwz hola?! Casa");
    TextScanner scanner(area, true, &missing);
    EXPECT_TRUE(scanner.spellingActive);
    scanner.CheckSpelling();
    EXPECT_EQ(scanner.faults, 1);
    EXPECT_EQ(Marked(scanner), Range(4, 10));
}

}  // namespace
}  // namespace quirtel
