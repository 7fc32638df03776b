#include "core/results/HiddenRecords.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "core/results/StatisticsHistory.h"
#include "support/TempFolder.h"

namespace quirtel {
namespace {

std::string Line(const char* date, const char* net) {
    return std::string(date) +
           " 08:15 --- 212.40 caracteres/min --- 05:00 minutos --- Faltas: 1 --- Pulsaciones: " +
           net + " caracteres/min";
}

TEST(HiddenRecords, HideAndShowCopiesOfLogLinesWithoutTouchingTheLog) {
    const testing::TempFolder folder;
    const std::string log = folder.File("estadistica.txt");
    const std::string twice = Line("06-Dec-2026", "201.40");
    const std::string other = Line("07-Dec-2026", "150.00");
    const std::string logBytes = "\r\n" + twice + "\r\n" + other + "\r\n" + twice + "\r\n";
    testing::WriteBytes(log, logBytes);
    const std::string path = folder.File("quirtel/ocultas.txt");

    // A line held once hides the first of its two copies only; a line that is
    // in no log hides nothing.
    testing::WriteBytes(folder.File("quirtel/ocultas.txt"),
                        "no es un registro\n" + twice + "\r\n\r\n");
    HiddenRecords hidden(path);
    EXPECT_TRUE(hidden.Readable());
    StatisticsHistory history = ReadStatisticsLog(log, MAX_HISTORY_BYTES, &hidden);
    ASSERT_EQ(history.records.size(), 3u);
    EXPECT_EQ(history.hidden, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(history.hiddenCount, 1);

    // Hiding appends the record's exact line, read back from the log, CR LF.
    const auto line = ReadLogLine(log, history.lineOffsets[1]);
    ASSERT_EQ(line, other);
    ASSERT_TRUE(hidden.Hide(*line));
    EXPECT_EQ(testing::ReadBytes(path), "no es un registro\r\n" + twice + "\r\n" + other + "\r\n");
    history = ReadStatisticsLog(log, MAX_HISTORY_BYTES, &hidden);
    EXPECT_EQ(history.hidden, (std::vector<bool>{true, true, false}));

    // Showing removes one copy; a line not hidden is refused.
    ASSERT_TRUE(hidden.Show(twice));
    EXPECT_FALSE(hidden.Show(twice));
    EXPECT_EQ(testing::ReadBytes(path), "no es un registro\r\n" + other + "\r\n");
    history = ReadStatisticsLog(log, MAX_HISTORY_BYTES, &hidden);
    DropHidden(history);
    ASSERT_EQ(history.records.size(), 2u);
    EXPECT_EQ(ReadLogLine(log, history.lineOffsets[1]), twice);
    EXPECT_EQ(testing::ReadBytes(log), logBytes);

    // A file that cannot be read hides nothing and is never replaced.
    HiddenRecords folderInstead(folder.File("quirtel"));
    EXPECT_FALSE(folderInstead.Readable());
    EXPECT_FALSE(folderInstead.Hide(other));
    EXPECT_FALSE(HiddenRecords("").Hide(other));
}

}  // namespace
}  // namespace quirtel
