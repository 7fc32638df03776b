#pragma once

#include <string>

#include "core/session/CopyRules.h"

namespace quirtel {

class RegistryBackend;

// The kind of test chosen last and, for a copy, its text and rules, as the
// settings file keeps them from one run to the next.
struct CopyChoice {
    enum class Kind { Free, BuiltIn, UserFile };

    Kind kind = Kind::Free;
    // A built-in text's file name, or the path of the user's file (in the
    // file system's own encoding); empty for a free test.
    std::string text;
    CopyRules rules;

    friend bool operator==(const CopyChoice&, const CopyChoice&) = default;
};

// The stored choice; a missing or unknown kind, or a copy without a text, is
// a free test. Rules missing from the file keep their defaults; the rules
// are returned clamped.
CopyChoice LoadCopyChoice(RegistryBackend& registry);

// Stores the whole choice at once; true when it reached the file.
bool SaveCopyChoice(RegistryBackend& registry, const CopyChoice& choice);

}  // namespace quirtel
