#include "core/spelling/SpellingResources.h"

#include "core/common/MessagePrompt.h"

#include "core/spelling/PersonalWordList.h"
#include "core/spelling/SpellingAdvisor.h"
#include "core/spelling/WordFrequencies.h"
#include "core/spelling/WordList.h"

namespace quirtel {

SpellingResources::SpellingResources(const std::string& wordListPath, std::string personalListPath,
                                     MessagePrompt* prompt)
    : words_(std::make_unique<WordList>(wordListPath, prompt)),
      personal_(std::make_unique<PersonalWordList>(std::move(personalListPath))),
      advisor_(std::make_unique<SpellingAdvisor>(*words_, FrequencyPathFor(wordListPath))) {
    words_->SetPersonalList(personal_.get());
    // A personal list that is there but cannot be used would otherwise turn
    // its words into faults without a word of why.
    if (const std::string skipped = personal_->SkippedMessage(); !skipped.empty() && prompt) {
        prompt->ShowMessage(skipped);
    }
}

SpellingResources::~SpellingResources() = default;

}  // namespace quirtel
