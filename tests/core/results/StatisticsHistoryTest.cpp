#include "core/results/StatisticsHistory.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "core/results/FinalResult.h"
#include "core/results/ProgressSummary.h"
#include "core/results/StatisticsLog.h"

namespace quirtel {
namespace {

namespace fs = std::filesystem;

class StatisticsHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = fs::temp_directory_path() / "quirtel-history-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        log_ = (dir_ / "estadistica.txt").string();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    void Write(const std::string& bytes) const { std::ofstream(log_, std::ios::binary) << bytes; }

    fs::path dir_;
    std::string log_;
};

StatisticsRecord Record(LogDate date, std::int32_t seconds, double speed,
                        std::optional<std::int32_t> faults) {
    return {date, seconds, speed, faults, ComputeNetSpeed(speed, faults.value_or(0))};
}

TEST_F(StatisticsHistoryTest, ReadsBackWhatTheProgramsOwnWriterAppends) {
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    const struct {
        std::int64_t time;  // UTC
        TestResult result;
        bool spellCheck;
    } tests[] = {
        {1796544900, {300, 1062, 35, 0, 11, 212.4}, true},  // 2026-12-06 08:15
        {1796545500, {600, 1800, 0, 0, 0, 180.0}, false},
        {1796545560, {240, 8, 0, 0, 3, 2.0}, true},  // net -1.00
        {951782400, {0, 0, 0, 0, 0, 0.0}, true},     // 2000-02-29 00:00
        {1796545620, {1799, 99999, 0, 0, 99999, 3335.1861}, true},
        // Written, but a net speed of minus two thousand million is no test.
        {1796545680, {1799, 99999, 0, 0, 2147483647, 3335.1861}, true},
    };
    std::vector<StatisticsRecord> expected;
    for (const auto& t : tests) {
        const TestResult& r = t.result;
        ASSERT_FALSE(AppendStatisticsRecord(
            log_, BuildStatisticsRecord(
                      FormatSpeedText(r.speed), FormatNetSpeedText(r.speed, r.faults),
                      FormatTimeText(r.elapsedSeconds), FormatFaultsText(r.faults, t.spellCheck),
                      FormatDateText(t.time))));
        std::tm utc{};
        const std::time_t time = t.time;
        ::gmtime_r(&time, &utc);
        const double speed = std::round(r.speed * 100) / 100;
        expected.push_back(
            Record({utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min},
                   r.elapsedSeconds, speed, t.spellCheck ? std::optional(r.faults) : std::nullopt));
        expected.back().netSpeed = std::round((r.speed - r.faults) * 100) / 100;
    }
    ::unsetenv("TZ");
    ::tzset();

    expected.pop_back();
    const StatisticsHistory history = ReadStatisticsLog(log_);
    EXPECT_EQ(history.status, StatisticsHistory::Status::read);
    EXPECT_EQ(history.records, expected);
    EXPECT_EQ(history.unreadableLines, 1);
    EXPECT_FALSE(history.Cut());
    EXPECT_EQ(history.records[0].date.IsoText(), "2026-12-06T08:15");
    EXPECT_EQ(history.records[3].date.ShownText(), "29/02/2000 00:00");
}

TEST_F(StatisticsHistoryTest, MonthNamesLineEndsAndDamagedLines) {
    const std::string tail =
        " 08:15 --- 212.40 caracteres/min --- 05:00 minutos --- Faltas: 11 --- Pulsaciones: "
        "201.40 caracteres/min";
    const struct {
        std::string line;
        int month;  // 0: not a record
    } cases[] = {
        {"06-Dec-2026" + tail, 12},
        {"06-DEC-2026" + tail, 12},
        {"06-dic-2026" + tail, 12},
        {"06-Ene-2026" + tail, 1},
        {"06-ago-2026" + tail, 8},
        {"06-sept-2026" + tail, 9},
        {"06-Sep-2026" + tail, 9},
        {"6-abr-2026" + tail, 4},
        {"06-Dec-2026" + tail + "\r", 12},
        {"06-Dek-2026" + tail, 0},
        {"31-Apr-2026" + tail, 0},
        {"29-Feb-2027" + tail, 0},
        {"06-Dec-26" + tail, 0},
        {"06-Dec-2026" + tail + " ", 0},
        {"06-Dec-2026" + tail.substr(0, 40), 0},
        {"06-Dec-2026 24:00" + tail.substr(6), 0},
        {"06-Dec-2026 08:15 --- 2,5 caracteres/min --- 05:00 minutos --- Faltas: 1 --- "
         "Pulsaciones: 1.5 caracteres/min",
         0},
        {"06-Dec-2026 08:15 --- nan caracteres/min --- 05:00 minutos --- Faltas: 1 --- "
         "Pulsaciones: 1.5 caracteres/min",
         0},
        {"06-Dec-2026 08:15 --- 1.00 caracteres/min --- 05:00 minutos --- Faltas: 2147483648 "
         "--- Pulsaciones: 1.00 caracteres/min",
         0},
        // Figures beyond 100,000 caracteres/min are damage, not typing.
        {"06-Dec-2026 08:15 --- " + std::string(309, '9') +
             ".00 caracteres/min --- 05:00 minutos --- Faltas: 1 --- Pulsaciones: 1.00 "
             "caracteres/min",
         0},
        {"06-Dec-2026 08:15 --- 1.00 caracteres/min --- 05:00 minutos --- Faltas: 1 --- "
         "Pulsaciones: -100000.01 caracteres/min",
         0},
        {"06-Dec-2026 08:15 --- 100000.00 caracteres/min --- 05:00 minutos --- Faltas: 1 --- "
         "Pulsaciones: -100000.00 caracteres/min",
         12},
        {std::string("\0\xFF\x01garbage", 10), 0},
    };
    for (const auto& c : cases) {
        const auto record = ParseStatisticsRecord(c.line);
        EXPECT_EQ(record ? record->date.month : 0, c.month) << c.line;
    }

    // Negative spans and speeds, spelling off (also as UTF-8), whole file shapes.
    Write(
        "\r\n06-Dec-2026 08:25 --- 180.00 caracteres/min --- 10:00 minutos --- Faltas: "
        "<ortograf\xED"
        "a desactivada> --- Pulsaciones: 180.00 caracteres/min\n"
        "\n06-Dec-2026 08:26 --- 0.00 caracteres/min --- -1:-5 minutos --- Faltas: 3 --- "
        "Pulsaciones: -3.00 caracteres/min\r\nbasura\r\n\r\n"
        "07-Dec-2026 09:00 --- 1.00 caracteres/min --- 00:01 minutos --- Faltas: <ortograf\xC3\xAD"
        "a desactivada> --- Pulsaciones: 1.00 caracteres/min");
    const StatisticsHistory history = ReadStatisticsLog(log_);
    ASSERT_EQ(history.records.size(), 3u);
    EXPECT_EQ(history.unreadableLines, 1);
    EXPECT_EQ(history.records[0].faults, std::nullopt);
    EXPECT_EQ(history.records[1].elapsedSeconds, -65);
    EXPECT_EQ(history.records[1].netSpeed, -3.0);
    EXPECT_EQ(history.records[2].faults, std::nullopt);
    EXPECT_EQ(HistoryUnreadableText(history),
              "L\xED"
              "neas ilegibles (se han saltado): 1");
}

TEST(StatisticsRecordTest, CopyRecordsCarryTitleAndAccuracy) {
    const std::string free =
        "06-Dec-2026 08:15 --- 212.40 caracteres/min --- 10:00 minutos --- Faltas: 4 --- "
        "Pulsaciones: 210.40 caracteres/min";
    const auto plain = ParseStatisticsRecord(free);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->kind, TestKind::free);
    EXPECT_EQ(plain->accuracy, std::nullopt);

    const std::string suffix = BuildCopyRecordSuffix("Acta --- de\r\nla junta", 98.4);
    EXPECT_EQ(suffix, " --- Copia: Acta --- de  la junta --- Precisi\xF3n: 98.40 %");
    const struct {
        std::string line;
        std::optional<std::string> title;  // none: not a record
    } cases[] = {
        {free + suffix, "Acta --- de  la junta"},
        {free + " --- Copia:  --- Precisi\xC3\xB3n: 100.00 %", ""},
        {free + " --- Copia: Aviso --- Precisi\xF3n: 98.40", std::nullopt},
        {free + " --- Copia: Aviso", std::nullopt},
        {free + " --- Copia: Aviso --- Precisi\xF3n: 98.40 % x", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto record = ParseStatisticsRecord(c.line);
        ASSERT_EQ(record.has_value(), c.title.has_value());
        if (record) {
            StatisticsRecord expected = *plain;
            expected.kind = TestKind::copy;
            expected.text = *c.title;
            expected.accuracy = record->accuracy;
            EXPECT_EQ(*record, expected);
        }
    }
    EXPECT_EQ(ParseStatisticsRecord(free + suffix)->accuracy, 98.4);
}

TEST_F(StatisticsHistoryTest, FilesThatAreNoLogNeverBlockNorCrash) {
    StatisticsHistory history = ReadStatisticsLog(log_);
    EXPECT_EQ(history.status, StatisticsHistory::Status::missing);
    EXPECT_EQ(HistoryProblemText(history, "./estadistica.txt"),
              "A\xFAn no hay pruebas: no existe ./estadistica.txt.");

    Write("");
    history = ReadStatisticsLog(log_);
    EXPECT_EQ(history.status, StatisticsHistory::Status::read);
    EXPECT_TRUE(history.records.empty());
    EXPECT_EQ(HistoryProblemText(history, log_), "");

    std::string garbage(300000, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) {
        garbage[i] = static_cast<char>(i * 7919 % 251);
    }
    Write(garbage);
    history = ReadStatisticsLog(log_);
    EXPECT_TRUE(history.records.empty());
    EXPECT_GT(history.unreadableLines, 0);

    const std::string fifo = (dir_ / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, dir_.string(), std::string("/dev/zero")}) {
        EXPECT_EQ(ReadStatisticsLog(path).status, StatisticsHistory::Status::notAFile) << path;
    }
    if (::geteuid() != 0) {
        Write("x");
        ::chmod(log_.c_str(), 0);
        history = ReadStatisticsLog(log_);
        EXPECT_EQ(history.status, StatisticsHistory::Status::unreadable);
        EXPECT_EQ(HistoryProblemText(history, "e.txt"), "No se puede leer e.txt: acceso denegado.");
    }
}

TEST_F(StatisticsHistoryTest, LargeLogIsReadFromItsLastWholeRecords) {
    const std::string record =
        "\r\n06-Dec-2026 08:15 --- 212.40 caracteres/min --- 05:00 minutos --- Faltas: 11 --- "
        "Pulsaciones: 201.40 caracteres/min";
    // The cut falls inside the second record (dropped) or just after a line
    // feed (the record after it is whole).
    Write(record + record + record);
    const std::size_t size = 3 * record.size();
    StatisticsHistory history = ReadStatisticsLog(log_, record.size() + 10);
    EXPECT_EQ(history.records.size(), 1u);
    EXPECT_EQ(history.unreadableLines, 0);
    EXPECT_TRUE(history.Cut());
    history = ReadStatisticsLog(log_, size - 2 * record.size() + record.size() - 1);
    EXPECT_EQ(history.records.size(), 2u);
    EXPECT_EQ(history.unreadableLines, 0);

    // A 70 MiB log (sparse, then one record): the last 64 MiB are read.
    {
        std::ofstream big(log_, std::ios::binary);
        big.seekp(70 << 20);
        big << record;
    }
    history = ReadStatisticsLog(log_);
    EXPECT_EQ(history.records.size(), 1u);
    EXPECT_EQ(history.unreadableLines, 0);
    EXPECT_EQ(history.bytesRead, MAX_HISTORY_BYTES);
    EXPECT_EQ(HistoryCutText(history),
              "El registro ocupa 70.0 MiB: solo se han le\xED"
              "do las pruebas de sus \xFAltimos 64 MiB.");
}

TEST(ProgressSummary, FiguresAndSpanishText) {
    EXPECT_EQ(FormatProgressSummary(SummarizeProgress({})), "A\xFAn no hay pruebas registradas.\n");

    std::vector<StatisticsRecord> records;
    for (int i = 0; i < 12; ++i) {  // net speeds 100, 110, ... 210; faults 1 except two off
        const bool off = i == 3 || i == 11;
        records.push_back(Record({2026, 12, i + 1, 8, 15}, 300, 101.0 + 10 * i,
                                 off ? std::nullopt : std::optional(1)));
        records.back().netSpeed = 100.0 + 10 * i;
    }
    records[5].netSpeed = 300.0;  // the best
    const ProgressSummary s = SummarizeProgress(records);
    EXPECT_EQ(s.tests, 12);
    EXPECT_EQ(s.totalSeconds, 3600);
    EXPECT_EQ(s.bestNetSpeed, 300.0);
    EXPECT_EQ(s.bestDate, (LogDate{2026, 12, 6, 8, 15}));
    EXPECT_DOUBLE_EQ(*s.averageNetSpeedLast10, (1650.0 - 150 + 300) / 10);
    EXPECT_DOUBLE_EQ(*s.averageNetSpeedPrevious10, 105.0);
    EXPECT_EQ(s.averageFaults, 1.0);
    EXPECT_EQ(FormatProgressSummary(s),
              "Pruebas: 12\n"
              "Tiempo total de escritura: 1 h 00 min 00 s\n"
              "Mejor velocidad neta (pulsaciones finales): 300.00 caracteres/min, el 06/12/2026 "
              "08:15\n"
              "Velocidad neta media de las 10 \xFAltimas pruebas: 180.00 caracteres/min\n"
              "Velocidad neta media de las 2 anteriores: 105.00 caracteres/min (+71.4 %)\n"
              "Faltas por prueba: 1.00 (en 10 pruebas con comprobaci\xF3n ortogr\xE1"
              "fica)\n");
    records.resize(1);
    records[0].faults.reset();
    const std::string one = FormatProgressSummary(SummarizeProgress(records));
    EXPECT_EQ(one.substr(one.find("Velocidad neta de")),
              "Velocidad neta de la \xFAltima prueba: 100.00 caracteres/min\n"
              "A\xFAn no hay pruebas anteriores con las que comparar.\n"
              "Faltas por prueba: ninguna prueba con comprobaci\xF3n ortogr\xE1"
              "fica\n");
}

}  // namespace
}  // namespace quirtel
