// quirtel-score: judges a text as the end of a typing test would, from the
// command line.
#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/common/Cp1252.h"
#include "core/common/MessagePrompt.h"
#include "core/files/UserFolder.h"
#include "core/results/HiddenRecords.h"
#include "core/results/ProgressSummary.h"
#include "core/results/StatisticsHistory.h"
#include "core/results/StatisticsLog.h"
#include "core/session/CopyJudge.h"
#include "core/spelling/DataFolder.h"
#include "core/spelling/PersonalWordList.h"
#include "core/spelling/SpellingAdvisor.h"
#include "core/spelling/WordFrequencies.h"
#include "core/spelling/WordList.h"
#include "score/CopyReport.h"
#include "score/HistoryReport.h"
#include "score/ScoreInput.h"
#include "score/ScoreOptions.h"
#include "score/ScoreReport.h"
#include "score/ScoreTextArea.h"

namespace {

// Decoding never lengthens the input, so whatever is read fits the text area.
static_assert(quirtel::MAX_SCORE_INPUT_BYTES == std::size_t{67108864} &&
              quirtel::MAX_SCORE_INPUT_BYTES <= quirtel::ScoreTextArea::MAX_CHARACTERS);

constexpr int kExitUsage = 2;
constexpr int kExitOutput = 1;

bool Print(std::FILE* stream, std::string_view utf8) {
    const bool written = std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size();
    return std::fflush(stream) == 0 && written;
}

// Remembers whether the word list reported a failure (the program would have
// shown it in a box).
class FailurePrompt final : public quirtel::MessagePrompt {
public:
    void ShowMessage(std::string_view) override { failed = true; }
    bool failed = false;
};

int Fail(const std::string& utf8Message) {
    Print(stderr, "quirtel-score: " + utf8Message + "\n");
    return kExitUsage;
}

// The log --history reads when none is named: ./estadistica.txt when there is
// anything by that name, else the one the launcher's working folder keeps
// (the desktop menu's tests), which is then named on standard error.
std::string DefaultHistoryLog() {
    struct stat info {};
    if (::lstat(quirtel::STATISTICS_LOG_PATH, &info) == 0) {
        return quirtel::STATISTICS_LOG_PATH;
    }
    const std::string base = quirtel::UserFolder("XDG_DATA_HOME", ".local/share");
    if (base.empty()) {
        return quirtel::STATISTICS_LOG_PATH;
    }
    const std::string path = base + "/quirtel/estadistica.txt";
    Print(stderr, "quirtel-score: no hay " + std::string(quirtel::STATISTICS_LOG_PATH) +
                      "; uso el registro " + path + "\n");
    return path;
}

// --history: the statistics log read back instead of a text scored.
int RunHistory(const quirtel::ScoreOptions& options) {
    const std::string path = options.file ? *options.file : DefaultHistoryLog();
    // The records hidden in the progress window stay out unless --all.
    const quirtel::HiddenRecords hidden(options.all ? std::string()
                                                    : quirtel::HiddenRecords::DefaultPath());
    quirtel::StatisticsHistory history =
        quirtel::ReadStatisticsLog(path, quirtel::MAX_HISTORY_BYTES, &hidden);
    const std::int64_t hiddenCount = history.hiddenCount;
    quirtel::DropHidden(history);
    const std::string problem = quirtel::HistoryProblemText(history, path);
    if (history.status == quirtel::StatisticsHistory::Status::notAFile ||
        history.status == quirtel::StatisticsHistory::Status::unreadable) {
        return Fail(quirtel::cp1252::ToUtf8(problem));
    }
    // What is said about the reading goes to standard error, so the records
    // on standard output stay machine-readable.
    const std::string hiddenNote =
        hiddenCount == 0
            ? std::string()
            : "Pruebas ocultas (no se muestran; --all las incluye): " + std::to_string(hiddenCount);
    for (const std::string& note : {problem, quirtel::HistoryCutText(history), hiddenNote}) {
        if (!note.empty()) {
            Print(stderr, "quirtel-score: " + quirtel::cp1252::ToUtf8(note) + "\n");
        }
    }
    const quirtel::ProgressSummary summary = quirtel::SummarizeProgress(history.records);
    const std::string report = options.csv    ? quirtel::FormatHistoryCsv(history)
                               : options.json ? quirtel::FormatHistoryJson(history, summary)
                                              : quirtel::FormatHistoryText(history, summary);
    if (!Print(stdout, report)) {
        Print(stderr, "quirtel-score: no se puede escribir el resultado\n");
        return kExitOutput;
    }
    return 0;
}

// Reads and decodes one text for --model: `what` names it in messages.
// Returns false after the message when it cannot be used.
bool ReadCopyText(const std::string& path, const char* what, std::string& text) {
    quirtel::ScoreInput input = quirtel::ReadScoreInput(path);
    if (input.status == quirtel::ScoreInput::Status::unreadable) {
        Fail(path.empty() ? quirtel::cp1252::ToUtf8("no se puede leer la entrada est\xE1ndar")
                          : std::string("no se puede leer ") + what + " " + path);
        return false;
    }
    if (input.status == quirtel::ScoreInput::Status::tooLarge) {
        Fail(quirtel::cp1252::ToUtf8(std::string(what) +
                                     " pasa de 67108864 bytes (64 MiB), el m\xE1ximo que se lee; "
                                     "no se punt\xFA"
                                     "a"));
        return false;
    }
    text = quirtel::DecodeScoreInput(std::move(input.bytes));
    return true;
}

// --model: the text judged as a copy of the model.
int RunCopy(const quirtel::ScoreOptions& options) {
    std::string model;
    std::string typed;
    const std::string path = options.file && *options.file != "-" ? *options.file : "";
    if (!ReadCopyText(*options.model, "el modelo", model) ||
        !ReadCopyText(path, path.empty() ? "la entrada" : "el archivo", typed)) {
        return kExitUsage;
    }
    quirtel::CopyRules rules;
    rules.penalty = options.penalty;
    rules.passMark = options.passMark;
    rules.maxErrorsPercent = options.maxErrorsPercent;
    const quirtel::CopyJudgement judgement = quirtel::CopyJudge::Judge(
        model, typed, rules, quirtel::CopyJudge::CountKeystrokes(typed, options.capitalsDouble),
        options.seconds);
    const std::string report = options.json
                                   ? quirtel::FormatCopyReportJson(judgement, options.seconds)
                                   : quirtel::FormatCopyReportText(judgement, options.seconds);
    if (!Print(stdout, report)) {
        Print(stderr, "quirtel-score: no se puede escribir el resultado\n");
        return kExitOutput;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that went away (a closed pipe) makes a write fail with EPIPE,
    // which is reported with status 1, instead of ending the program.
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string_view> args(argv + 1, argv + argc);
    quirtel::ScoreOptions options;
    std::string error;
    if (!quirtel::ParseScoreOptions(args, options, error)) {
        return Fail(error);
    }
    if (options.help) {
        return Print(stdout, quirtel::ScoreUsage()) ? 0 : kExitOutput;
    }
    if (options.history) {
        return RunHistory(options);
    }
    if (options.model) {
        return RunCopy(options);
    }

    const std::string path = options.file && *options.file != "-" ? *options.file : "";
    quirtel::ScoreInput input = quirtel::ReadScoreInput(path);
    if (input.status == quirtel::ScoreInput::Status::unreadable) {
        // The file name is shown as the bytes it was given in.
        return Fail(path.empty()
                        ? quirtel::cp1252::ToUtf8("no se puede leer la entrada est\xE1ndar")
                        : "no se puede leer el archivo " + path);
    }
    if (input.status == quirtel::ScoreInput::Status::tooLarge) {
        // Scoring only the part read would report a part as the whole.
        return Fail(quirtel::cp1252::ToUtf8(
            "la entrada pasa de 67108864 bytes (64 MiB), el m\xE1ximo que se lee; no se "
            "punt\xFA"
            "a"));
    }

    // A personal list named on the command line must be there: a mistyped
    // name would silently change the judgement.
    std::unique_ptr<quirtel::PersonalWordList> personal;
    if (!options.personal.empty()) {
        struct stat info {};
        personal = std::make_unique<quirtel::PersonalWordList>(options.personal);
        if (personal->LoadResult().error == quirtel::FileError::tooLarge) {
            return Fail("la lista personal " + options.personal +
                        quirtel::cp1252::ToUtf8(
                            " pasa de 16777216 bytes (16 MiB), el m\xE1ximo que se lee"));
        }
        if (::stat(options.personal.c_str(), &info) != 0 || !personal->Readable()) {
            return Fail("no se puede leer la lista personal " + options.personal);
        }
    }

    // Without a word list every word would pass and the faults read 0: that is
    // no score, unless the check was turned off.
    FailurePrompt prompt;
    std::unique_ptr<quirtel::WordList> wordList;
    if (options.spellCheck) {
        if (!options.dictionaryGiven) {
            const quirtel::DataFolder data = quirtel::ChooseDataFolder(QUIRTEL_INSTALLED_DATA);
            if (data.installed) {
                Print(stderr, quirtel::InstalledDataNote("quirtel-score", data) + "\n");
            }
            options.dictionary = quirtel::DataFile(data.folder, quirtel::WORD_LIST_NAME);
        }
        wordList = std::make_unique<quirtel::WordList>(options.dictionary, &prompt);
        if (prompt.failed || !wordList->IsLoaded()) {
            return Fail("no se puede leer la lista de palabras " + options.dictionary +
                        " (sin lista, use --no-spelling)");
        }
        wordList->SetPersonalList(personal.get());
    }
    std::string text = quirtel::DecodeScoreInput(std::move(input.bytes));
    quirtel::ScoreReport report =
        quirtel::ScoreText(std::move(text), options.seconds, options.capitalsDouble,
                           options.spellCheck, wordList.get());
    if (wordList && !report.faultyTokens.empty()) {
        const std::string frequencyPath = quirtel::FrequencyPathFor(options.dictionary);
        if (const std::string note = quirtel::FrequencyListNote(frequencyPath); !note.empty()) {
            Print(stderr, "quirtel-score: " + quirtel::cp1252::ToUtf8(note) + "\n");
        }
        const quirtel::SpellingAdvisor advisor(*wordList, frequencyPath);
        std::size_t kindOnly = 0;
        try {
            kindOnly = quirtel::AdviseFaultyTokens(report, advisor);
        } catch (const std::exception& failure) {
            // A report with the advice half given would pass for a whole one.
            Print(stderr, "quirtel-score: no se han podido buscar las sugerencias (" +
                              std::string(failure.what()) + ")\n");
            return kExitOutput;
        }
        if (kindOnly > 0) {
            Print(stderr, quirtel::cp1252::ToUtf8(
                              "quirtel-score: sugerencias solo para las primeras " +
                              std::to_string(quirtel::MAX_ADVISED_TOKENS) +
                              " palabras distintas con faltas; las dem\xE1s llevan solo su "
                              "tipo\n"));
        }
    }
    // A report that could not be written (a full disk, a closed pipe) must not
    // end as a success.
    if (!quirtel::WriteReport(report, options.json,
                              [](std::string_view utf8) { return Print(stdout, utf8); })) {
        Print(stderr, "quirtel-score: no se puede escribir el resultado\n");
        return kExitOutput;
    }
    return 0;
}
