#include "core/session/TestJudge.h"

#include "core/session/TestSettings.h"
#include "core/spelling/TextScanner.h"

namespace quirtel {

TestJudge::Judgement TestJudge::Judge(const TextArea& text, const TestSettings& settings,
                                      std::int32_t elapsedSeconds, const WordList* wordList) {
    Judgement judgement;
    TestResult& result = judgement.result;
    result.elapsedSeconds = elapsedSeconds;
    TextScanner scanner(text, settings.spellCheck, wordList);
    scanner.CountText();
    judgement.characters = scanner.characters;
    result.capitals = scanner.capitals;
    result.lineBreaks = scanner.lineBreaks;
    result.keystrokes = ComputeKeystrokes(scanner.characters, scanner.lineBreaks, scanner.capitals,
                                          settings.capitalsDouble);
    result.speed = ComputeSpeed(result.keystrokes, elapsedSeconds);
    scanner.CheckSpelling();
    result.faults = scanner.faults;
    judgement.faults = std::move(scanner.faultRanges);
    return judgement;
}

}  // namespace quirtel
