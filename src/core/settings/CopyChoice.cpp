#include "core/settings/CopyChoice.h"

#include <cstdint>

#include "core/settings/CRegistryStore.h"
#include "core/settings/RegistryBatch.h"

namespace quirtel {
namespace {

// Under Software\Quirtel\Tapo, beside the profile's Settings key.
constexpr char COMPANY[] = "Quirtel";
constexpr char APPLICATION[] = "Tapo";
constexpr char KIND[] = "Copy\\Kind";
constexpr char TEXT[] = "Copy\\Text";
constexpr char MINUTES[] = "Copy\\Minutes";
constexpr char PENALTY[] = "Copy\\Penalty";
constexpr char PASS_MARK[] = "Copy\\PassMark";
constexpr char MAX_ERRORS[] = "Copy\\MaxErrors";

}  // namespace

CopyChoice LoadCopyChoice(RegistryBackend& registry) {
    CRegistryStore store(registry);
    store.company = COMPANY;
    store.application = APPLICATION;
    CopyChoice choice;
    std::int32_t kind = 0;
    store.ReadInt(KIND, kind, 0);
    store.ReadBytes(TEXT, choice.text);
    const CopyRules defaults;
    store.ReadInt(MINUTES, choice.rules.minutes, defaults.minutes);
    store.ReadInt(PENALTY, choice.rules.penalty, defaults.penalty);
    store.ReadInt(PASS_MARK, choice.rules.passMark, defaults.passMark);
    store.ReadInt(MAX_ERRORS, choice.rules.maxErrorsPercent, defaults.maxErrorsPercent);
    store.Close();
    choice.rules = choice.rules.Clamped();
    if ((kind == 1 || kind == 2) && !choice.text.empty()) {
        choice.kind = kind == 1 ? CopyChoice::Kind::BuiltIn : CopyChoice::Kind::UserFile;
    } else {
        choice.kind = CopyChoice::Kind::Free;
        choice.text.clear();
    }
    return choice;
}

bool SaveCopyChoice(RegistryBackend& registry, const CopyChoice& choice) {
    RegistryBatch batch(registry);
    CRegistryStore store(batch);
    store.company = COMPANY;
    store.application = APPLICATION;
    const std::int32_t kind = choice.kind == CopyChoice::Kind::BuiltIn    ? 1
                              : choice.kind == CopyChoice::Kind::UserFile ? 2
                                                                          : 0;
    int status = 0;
    bool all = store.WriteInt(KIND, kind, status);
    all = store.WriteBytes(
              TEXT, choice.kind == CopyChoice::Kind::Free ? std::string() : choice.text, status) &&
          all;
    all = store.WriteInt(MINUTES, choice.rules.minutes, status) && all;
    all = store.WriteInt(PENALTY, choice.rules.penalty, status) && all;
    all = store.WriteInt(PASS_MARK, choice.rules.passMark, status) && all;
    all = store.WriteInt(MAX_ERRORS, choice.rules.maxErrorsPercent, status) && all;
    store.Close();
    return batch.Commit() == REGISTRY_OK && all;
}

}  // namespace quirtel
