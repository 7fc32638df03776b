#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/settings/RegistryTree.h"

namespace quirtel::registry {

// The registry's export format: a "Windows Registry Editor Version 5.00" (or
// "REGEDIT4") header, one [HKEY_CURRENT_USER\...] section per key, and values
// as "name"=hex:.., dword:.., hex(N):.. or "text"; long lines continue after a
// trailing backslash.

// Byte-order marks: a UTF-8 mark is dropped; UTF-16LE text is narrowed to
// Windows-1252. Text without a mark comes back unchanged.
std::string DecodeText(std::string raw);

// The tree the text describes, or nothing when any line of it is not
// understood or the header is missing: a partial reading is never returned.
std::optional<Tree> ParseRegistryText(std::string_view text);

// The text of the whole tree, which ParseRegistryText reads back equal. The
// root gets a section only when it holds values.
std::string FormatRegistryText(const Tree& tree);

}  // namespace quirtel::registry
