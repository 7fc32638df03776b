#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/settings/RegistryBackend.h"

namespace quirtel::registry {

// Key paths compare part by part, without regard to ASCII case, so that a key
// sorts right before its subkeys.
struct PathLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

// The values of one key, in the order they were first set.
using Values = std::vector<std::pair<std::string, RegistryValue>>;
// Every key by its path relative to the root; the root itself is "".
using Tree = std::map<std::string, Values, PathLess>;

// ASCII lower case; other bytes unchanged.
char Lower(char c);
// Equal without regard to ASCII case.
bool EqualNoCase(std::string_view a, std::string_view b);

// A key path the store can hold: empty (the root), or non-empty parts
// separated by single backslashes, with no line break anywhere.
bool IsValidKeyPath(std::string_view path);
// A value name the store can hold: no line break.
bool IsValidValueName(std::string_view name);

// Adds the key at `path` and every key along it; sets `added` when one of
// them was missing. `path` must be valid and not empty.
void AddKeyPath(Tree& tree, std::string_view path, bool& added);
// The value `name` of `values`, by case-insensitive name; null when missing.
RegistryValue* FindValue(Values& values, std::string_view name);
// Replaces the value `name`, keeping its place and stored spelling, or adds it last.
void PutValue(Values& values, std::string_view name, RegistryValue value);

}  // namespace quirtel::registry
