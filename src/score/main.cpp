// quirtel-score: judges a text as the end of a typing test would, from the
// command line.
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/MessagePrompt.h"
#include "score/ScoreInput.h"
#include "score/ScoreOptions.h"
#include "score/ScoreReport.h"
#include "spelling/Cp1252.h"
#include "spelling/PersonalWordList.h"
#include "spelling/SpellingAdvisor.h"
#include "spelling/WordFrequencies.h"
#include "spelling/WordList.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitOutput = 1;

bool Print(std::FILE* stream, std::string_view utf8) {
    const bool written = std::fwrite(utf8.data(), 1, utf8.size(), stream) == utf8.size();
    return std::fflush(stream) == 0 && written;
}

// Messages that the program would show in a box go to standard error.
class StderrPrompt final : public quirtel::MessagePrompt {
public:
    void ShowMessage(std::string_view cp1252Text) override {
        Print(stderr, quirtel::cp1252::ToUtf8(cp1252Text) + "\n");
    }
};

int Fail(const std::string& utf8Message) {
    Print(stderr, "quirtel-score: " + utf8Message + "\n");
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    quirtel::ScoreOptions options;
    std::string error;
    if (!quirtel::ParseScoreOptions(args, options, error)) {
        return Fail(error);
    }
    if (options.help) {
        return Print(stdout, quirtel::ScoreUsage()) ? 0 : kExitOutput;
    }

    const std::string path = options.file && *options.file != "-" ? *options.file : "";
    const auto bytes = quirtel::ReadScoreInput(path);
    if (!bytes) {
        // The file name is shown as the bytes it was given in.
        return Fail(path.empty()
                        ? quirtel::cp1252::ToUtf8("no se puede leer la entrada est\xE1ndar")
                        : "no se puede leer el archivo " + path);
    }

    // A personal list named on the command line must be there: a mistyped
    // name would silently change the judgement.
    std::unique_ptr<quirtel::PersonalWordList> personal;
    if (!options.personal.empty()) {
        struct stat info {};
        personal = std::make_unique<quirtel::PersonalWordList>(options.personal);
        if (::stat(options.personal.c_str(), &info) != 0 || !personal->Readable()) {
            return Fail("no se puede leer la lista personal " + options.personal);
        }
    }

    StderrPrompt prompt;
    std::unique_ptr<quirtel::WordList> wordList;
    if (options.spellCheck) {
        wordList = std::make_unique<quirtel::WordList>(options.dictionary, &prompt);
        wordList->SetPersonalList(personal.get());
    }
    quirtel::ScoreReport report =
        quirtel::ScoreText(quirtel::DecodeScoreInput(*bytes), options.seconds,
                           options.capitalsDouble, options.spellCheck, wordList.get());
    if (wordList && !report.faultyTokens.empty()) {
        const quirtel::SpellingAdvisor advisor(*wordList,
                                               quirtel::FrequencyPathFor(options.dictionary));
        for (quirtel::FaultyToken& token : report.faultyTokens) {
            if (auto advice = advisor.Advise(token.text)) {
                token.kind = advice->kind;
                token.suggestions = std::move(advice->suggestions);
            }
        }
    }
    // A report that could not be written (a full disk, a closed pipe) must not
    // end as a success.
    if (!Print(stdout, options.json ? quirtel::FormatReportJson(report)
                                    : quirtel::FormatReportText(report))) {
        Print(stderr, "quirtel-score: no se puede escribir el resultado\n");
        return kExitOutput;
    }
    return 0;
}
