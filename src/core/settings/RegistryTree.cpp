#include "core/settings/RegistryTree.h"

#include <algorithm>

namespace quirtel::registry {

bool PathLess::operator()(std::string_view a, std::string_view b) const {
    // The separator sorts before every other character.
    const auto rank = [](char c) {
        return c == '\\' ? 0 : static_cast<int>(static_cast<unsigned char>(Lower(c))) + 1;
    };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return rank(x) < rank(y); });
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

bool IsValidKeyPath(std::string_view path) {
    if (path.empty()) {
        return true;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('\\', start);
        const std::string_view part = path.substr(start, end - start);
        if (part.empty()) {
            return false;
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    // The file could not carry a line break inside a section header.
    return path.find_first_of("\r\n") == std::string_view::npos;
}

bool IsValidValueName(std::string_view name) {
    return name.find_first_of("\r\n") == std::string_view::npos;
}

void AddKeyPath(Tree& tree, std::string_view path, bool& added) {
    std::size_t end = 0;
    do {
        end = path.find('\\', end);
        const std::string_view prefix = path.substr(0, end);
        if (tree.find(prefix) == tree.end()) {
            tree.emplace(std::string(prefix), Values{});
            added = true;
        }
        if (end != std::string_view::npos) {
            ++end;
        }
    } while (end != std::string_view::npos);
}

RegistryValue* FindValue(Values& values, std::string_view name) {
    for (auto& [valueName, value] : values) {
        if (EqualNoCase(valueName, name)) {
            return &value;
        }
    }
    return nullptr;
}

void PutValue(Values& values, std::string_view name, RegistryValue value) {
    if (RegistryValue* existing = FindValue(values, name)) {
        *existing = std::move(value);
    } else {
        values.emplace_back(std::string(name), std::move(value));
    }
}

}  // namespace quirtel::registry
