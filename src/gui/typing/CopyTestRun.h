#pragma once

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/session/CopyRules.h"
#include "core/session/ModelText.h"

namespace quirtel {

class CTapoView;

// Copy practice in the typing view: the model and rules being copied, the
// typed word count that follows the model, the judging of a finished copy
// with its result dialog, record and error marks, and the marks' tooltips.
class CopyTestRun {
public:
    // A copy error's mark over the typed text, with the model's word.
    struct Mark {
        int start = 0;
        int end = 0;
        QString tip;
    };

    // The view must outlive the run.
    explicit CopyTestRun(CTapoView& view);
    ~CopyTestRun();

    // The tests that follow copy `model` under `rules` (the rules' minutes
    // are the time limit) until SetFree.
    void Set(ModelText model, const CopyRules& rules);
    // Back to free typing with the options' own length.
    void SetFree();
    bool Active() const { return copy_ != nullptr; }
    // The model being copied and its rules; null in free typing.
    const ModelText* Model() const;
    const CopyRules* Rules() const;
    // The test length the options show: the free test's own in a copy test.
    std::int32_t OptionsLength(std::int32_t current) const;
    // Keeps the options' `length` for free typing; the length a test runs.
    std::int32_t TakeOptionsLength(std::int32_t length);

    // A new test: the marks of the last one go.
    void ClearMarks();
    // Follows the typed word count after a change of the text at `position`:
    // counts on from the end when characters were only added there, else
    // counts the whole text again. Tells the next model word and finishes
    // the test once the whole model is typed.
    void Follow(int position, int removed, int added);
    // Judges a finished copy, marks its errors, shows the result and writes
    // the record; nothing when the test was already finished.
    void Finish();
    // The error mark under `character` once the result dialog has closed.
    std::optional<Mark> MarkAt(int character) const;

private:
    struct CopyTest;

    CTapoView& view_;
    std::unique_ptr<CopyTest> copy_;
    // The options' own length, kept while copy tests use the rules' minutes.
    std::int32_t freeTestLength_ = 0;
    // Shown once the result dialog has closed.
    std::vector<Mark> marks_;
    bool marksShown_ = false;
};

}  // namespace quirtel
