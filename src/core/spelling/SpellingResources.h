#pragma once

#include <memory>
#include <string>

namespace quirtel {

class MessagePrompt;
class PersonalWordList;
class SpellingAdvisor;
class WordList;

// What the spelling check of a test needs, loaded once for the program: the
// word list, the user's personal word list, and the advisor over both.
class SpellingResources {
public:
    // Loads the word list at `wordListPath` at once (one that cannot be read
    // is reported through `prompt`, which may be null), then the personal
    // word list at `personalListPath` (none when empty; one that is there but
    // cannot be used is reported through `prompt` too). The advisor reads
    // the frequencies beside the word list when first asked.
    SpellingResources(const std::string& wordListPath, std::string personalListPath,
                      MessagePrompt* prompt);
    ~SpellingResources();
    SpellingResources(const SpellingResources&) = delete;
    SpellingResources& operator=(const SpellingResources&) = delete;

    const WordList& Words() const { return *words_; }
    PersonalWordList& Personal() { return *personal_; }
    const PersonalWordList& Personal() const { return *personal_; }
    const SpellingAdvisor& Advisor() const { return *advisor_; }

private:
    std::unique_ptr<WordList> words_;
    std::unique_ptr<PersonalWordList> personal_;
    std::unique_ptr<SpellingAdvisor> advisor_;
};

}  // namespace quirtel
