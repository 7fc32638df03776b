#include "core/session/InMemoryTextArea.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quirtel {
namespace {

std::vector<std::string> DisplayLines(const InMemoryTextArea& area) {
    std::vector<std::string> lines;
    for (int i = 0; i < area.LineCount(); ++i) {
        std::string line;
        const int length = area.LineLength(area.LineIndex(i));
        EXPECT_EQ(area.GetLine(i, length, line), length) << i;
        lines.push_back(line);
    }
    return lines;
}

TEST(InMemoryTextArea, WrapsLikeAWordWrappingEditor) {
    struct Case {
        int width;
        std::string text;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {0, "", {""}},
        {0, "uno dos tres cuatro cinco seis siete", {"uno dos tres cuatro cinco seis siete"}},
        {0, "uno\ndos", {"uno", "dos"}},
        {0, "abc\n", {"abc", ""}},
        {0, "\n\n", {"", "", ""}},
        {10, "hola mundo cruel", {"hola mundo ", "cruel"}},
        {9, "hola mundo cruel", {"hola ", "mundo ", "cruel"}},
        {5, "hola ", {"hola "}},
        {4, "abcdefghij", {"abcd", "efgh", "ij"}},
        {4, "ab abcdefgh", {"ab ", "abcd", "efgh"}},
        {3, "abc     def", {"abc     ", "def"}},
        {4, "   abcdef", {"   ", "abcd", "ef"}},
        {4, "      ", {"      "}},
        {6, "uno dos\ntres cuatro", {"uno ", "dos", "tres ", "cuatro"}},
        {1, "a b", {"a ", "b"}},
    };
    for (const Case& c : cases) {
        InMemoryTextArea area(c.width);
        area.SetText(c.text);
        EXPECT_EQ(DisplayLines(area), c.lines) << c.width << " '" << c.text << "'";
        // Lines follow each other; a paragraph break takes one position.
        int expectedStart = 0;
        for (int i = 0; i < area.LineCount(); ++i) {
            EXPECT_EQ(area.LineIndex(i), expectedStart) << c.text << " line " << i;
            const int end = expectedStart + area.LineLength(expectedStart);
            expectedStart =
                end < static_cast<int>(c.text.size()) && c.text[end] == '\n' ? end + 1 : end;
        }
    }
}

TEST(InMemoryTextArea, LineOperationsAtTheEdges) {
    InMemoryTextArea area(4);
    area.SetText("abcdefgh\nxy");  // lines "abcd", "efgh", "xy"
    ASSERT_EQ(area.LineCount(), 3);
    const std::vector<std::pair<int, int>> lengthAt = {
        {0, 4},  {3, 4},
        {4, 4},  {8, 4} /* the break belongs to the line before */,
        {9, 2},  {11, 2} /* the end of the text */,
        {12, 0}, {-1, 0},
    };
    for (const auto& [position, length] : lengthAt) {
        EXPECT_EQ(area.LineLength(position), length) << position;
    }
    EXPECT_EQ(area.LineIndex(2), 9);
    EXPECT_EQ(area.LineIndex(3), -1);
    EXPECT_EQ(area.LineIndex(-1), -1);

    std::string out = "old";
    EXPECT_EQ(area.GetLine(1, 2, out), 2);
    EXPECT_EQ(out, "ef");
    EXPECT_EQ(area.GetLine(1, 100, out), 4);
    EXPECT_EQ(out, "efgh");
    EXPECT_EQ(area.GetLine(1, 0, out), 0);
    EXPECT_EQ(out, "");
    out = "old";
    EXPECT_EQ(area.GetLine(3, 10, out), 0);
    EXPECT_EQ(out, "");
}

TEST(InMemoryTextArea, TextLengthCountsEachParagraphBreakTwice) {
    const std::vector<std::tuple<int, std::string, int>> cases = {
        {0, "", 0}, {0, "abc\nde", 7}, {0, "\n", 2}, {0, "a\r\nb\rc", 7}, {4, "abcdefgh", 8},
    };
    for (const auto& [width, text, length] : cases) {
        InMemoryTextArea area(width);
        area.SetText(text);
        EXPECT_EQ(area.TextLength(), length) << text;
    }
}

TEST(InMemoryTextArea, LineEndsBecomeParagraphBreaks) {
    InMemoryTextArea area;
    area.SetText("a\r\nb\rc\n\r\n");
    EXPECT_EQ(area.Text(), "a\nb\nc\n\n");
    area.InsertText("d\re");
    EXPECT_EQ(area.Text(), "a\nb\nc\n\nd\ne");
}

TEST(InMemoryTextArea, SelectionCopyAndDelete) {
    struct Case {
        int start;
        int end;
        int selectedStart;
        int selectedEnd;
    };
    const std::vector<Case> cases = {
        {0, -1, 0, 8}, {2, 5, 2, 5}, {5, 2, 2, 5}, {3, -1, 3, 8}, {6, 50, 6, 8}, {-5, 2, 0, 2},
    };
    for (const Case& c : cases) {
        InMemoryTextArea area;
        area.SetText("uno\ndos!");
        area.SetSelection(c.start, c.end);
        EXPECT_EQ(area.SelectionStart(), c.selectedStart) << c.start << "," << c.end;
        EXPECT_EQ(area.SelectionEnd(), c.selectedEnd) << c.start << "," << c.end;
    }

    InMemoryTextArea area;
    area.SetText("uno\ndos!");
    area.SetSelection(2, 6);
    area.CopySelection();
    EXPECT_EQ(area.Clipboard(), "o\ndo");
    area.SetSelection(-1, 0);
    EXPECT_EQ(area.SelectionStart(), area.SelectionEnd());
    area.CopySelection();  // nothing selected: the clipboard keeps its text
    EXPECT_EQ(area.Clipboard(), "o\ndo");
    area.SetSelection(0, -1);
    area.DeleteSelection();
    EXPECT_EQ(area.Text(), "");
    EXPECT_EQ(area.LineCount(), 1);
    EXPECT_EQ(area.TextLength(), 0);
}

TEST(InMemoryTextArea, FormatsTheSelectionOrTheInsertionPoint) {
    const CharFormat plain{0x00112233, false};
    const CharFormat mark{FAULT_MARK_COLOUR, true};
    InMemoryTextArea area(0, plain);
    EXPECT_EQ(area.DefaultCharFormat(), plain);
    area.SetText("abcdef");
    area.SetSelection(1, 3);
    area.FormatSelection(mark);
    for (int p = 0; p < 6; ++p) {
        EXPECT_EQ(area.FormatAt(p), p == 1 || p == 2 ? mark : plain) << p;
    }
    EXPECT_EQ(area.InsertionFormat(), plain);

    // Nothing selected: typed text gets the format.
    area.SetSelection(-1, 0);
    area.FormatSelection(mark);
    EXPECT_EQ(area.InsertionFormat(), mark);
    area.SetSelection(6, 6);
    area.InsertText("gh");
    EXPECT_EQ(area.Text(), "abcdefgh");
    EXPECT_EQ(area.FormatAt(6), mark);
    EXPECT_EQ(area.FormatAt(7), mark);

    // Typing replaces the selection; deleting keeps the formats of the rest.
    area.SetSelection(0, 2);
    area.InsertText("X");
    EXPECT_EQ(area.Text(), "Xcdefgh");
    EXPECT_EQ(area.FormatAt(0), mark);
    EXPECT_EQ(area.FormatAt(1), mark);
    EXPECT_EQ(area.FormatAt(2), plain);
    EXPECT_EQ(area.SelectionStart(), 1);
    area.SetSelection(1, 3);
    area.DeleteSelection();
    EXPECT_EQ(area.Text(), "Xefgh");
    EXPECT_EQ(area.FormatAt(1), plain);
    EXPECT_EQ(area.FormatAt(3), mark);

    // New text starts from the default format again.
    area.SetText("nuevo");
    EXPECT_EQ(area.InsertionFormat(), plain);
    EXPECT_EQ(area.FormatAt(0), plain);
}

}  // namespace
}  // namespace quirtel
