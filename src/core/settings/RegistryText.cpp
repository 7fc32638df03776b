#include "core/settings/RegistryText.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/common/Cp1252.h"

namespace quirtel::registry {
namespace {

constexpr std::string_view HEADER = "Windows Registry Editor Version 5.00";
constexpr std::string_view OLD_HEADER = "REGEDIT4";
constexpr std::string_view ROOT = "HKEY_CURRENT_USER";

// ---- Reading -------------------------------------------------------------

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = Lower(c);
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// 1 to `maxDigits` hex digits, nothing else.
std::optional<std::uint32_t> ParseHexNumber(std::string_view s, std::size_t maxDigits) {
    s = TrimBlanks(s);
    if (s.empty() || s.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint32_t n = 0;
    for (const char c : s) {
        const int d = HexDigit(c);
        if (d < 0) {
            return std::nullopt;
        }
        n = n * 16 + static_cast<std::uint32_t>(d);
    }
    return n;
}

// "64,00,00,00": bytes of one or two hex digits separated by commas.
std::optional<std::vector<std::uint8_t>> ParseHexList(std::string_view s) {
    std::vector<std::uint8_t> bytes;
    if (TrimBlanks(s).empty()) {
        return bytes;
    }
    while (true) {
        const std::size_t comma = s.find(',');
        const auto byte = ParseHexNumber(s.substr(0, comma), 2);
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(*byte));
        if (comma == std::string_view::npos) {
            return bytes;
        }
        s.remove_prefix(comma + 1);
    }
}

// A quoted string with \\ and \" escapes, starting at s[0] == '"'. Returns
// the text and leaves `s` after the closing quote.
std::optional<std::string> ParseQuoted(std::string_view& s) {
    if (s.empty() || s.front() != '"') {
        return std::nullopt;
    }
    std::string out;
    for (std::size_t i = 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\') {
            if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) {
                return std::nullopt;
            }
            ++i;
        }
        out.push_back(s[i]);
    }
    return std::nullopt;
}

std::optional<RegistryValue> ParseData(std::string_view data) {
    data = TrimBlanks(data);
    RegistryValue value;
    if (!data.empty() && data.front() == '"') {
        auto text = ParseQuoted(data);
        if (!text || !TrimBlanks(data).empty()) {
            return std::nullopt;
        }
        value.type = REG_TYPE_SZ;
        value.data.assign(text->begin(), text->end());
        value.data.push_back(0);
        return value;
    }
    const std::size_t colon = data.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view kind = data.substr(0, colon);
    const std::string_view rest = data.substr(colon + 1);
    if (EqualNoCase(kind, "dword")) {
        const auto n = ParseHexNumber(rest, 8);
        if (!n) {
            return std::nullopt;
        }
        value.type = REG_TYPE_DWORD;
        for (int shift = 0; shift < 32; shift += 8) {
            value.data.push_back(static_cast<std::uint8_t>(*n >> shift));
        }
        return value;
    }
    if (EqualNoCase(kind, "hex")) {
        value.type = REG_TYPE_BINARY;
    } else if (kind.size() > 5 && EqualNoCase(kind.substr(0, 4), "hex(") && kind.back() == ')') {
        const auto type = ParseHexNumber(kind.substr(4, kind.size() - 5), 8);
        if (!type) {
            return std::nullopt;
        }
        value.type = *type;
    } else {
        return std::nullopt;
    }
    auto bytes = ParseHexList(rest);
    if (!bytes) {
        return std::nullopt;
    }
    value.data = std::move(*bytes);
    return value;
}

// ---- Writing -------------------------------------------------------------

void AppendQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    out.push_back('"');
}

void AppendHexByte(std::string& out, std::uint8_t byte) {
    constexpr std::string_view digits = "0123456789abcdef";
    out.push_back(digits[byte >> 4]);
    out.push_back(digits[byte & 0x0F]);
}

void AppendHexList(std::string& out, const std::vector<std::uint8_t>& data) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i > 0) {
            out.push_back(',');
        }
        AppendHexByte(out, data[i]);
    }
}

// A string that the quoted form carries unchanged: one terminating zero, no
// other zero and no line break.
bool IsPlainString(const std::vector<std::uint8_t>& data) {
    if (data.empty() || data.back() != 0) {
        return false;
    }
    return std::none_of(data.begin(), data.end() - 1,
                        [](std::uint8_t b) { return b == 0 || b == '\r' || b == '\n'; });
}

void AppendValue(std::string& out, std::string_view name, const RegistryValue& value) {
    if (name.empty()) {
        out.push_back('@');
    } else {
        AppendQuoted(out, name);
    }
    out.push_back('=');
    if (value.type == REG_TYPE_BINARY) {
        out.append("hex:");
        AppendHexList(out, value.data);
    } else if (value.type == REG_TYPE_DWORD && value.data.size() == 4) {
        out.append("dword:");
        for (int i = 3; i >= 0; --i) {
            AppendHexByte(out, value.data[static_cast<std::size_t>(i)]);
        }
    } else if (value.type == REG_TYPE_SZ && IsPlainString(value.data)) {
        AppendQuoted(out, std::string_view(reinterpret_cast<const char*>(value.data.data()),
                                           value.data.size() - 1));
    } else {
        out.append("hex(");
        constexpr std::string_view digits = "0123456789abcdef";
        std::string type;
        std::uint32_t t = value.type;
        do {
            type.insert(type.begin(), digits[t % 16]);
            t /= 16;
        } while (t != 0);
        out.append(type);
        out.append("):");
        AppendHexList(out, value.data);
    }
    out.push_back('\n');
}

}  // namespace

// Byte-order marks: UTF-8 is dropped; UTF-16LE, as the registry editor saves,
// is narrowed to Windows-1252 like every other text of the program.
std::string DecodeText(std::string raw) {
    if (raw.size() >= 3 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        return raw.substr(3);
    }
    if (raw.size() >= 2 && raw[0] == '\xFF' && raw[1] == '\xFE') {
        std::string out;
        out.reserve(raw.size() / 2);
        for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
            const char16_t unit = static_cast<char16_t>(
                static_cast<unsigned char>(raw[i]) | static_cast<unsigned char>(raw[i + 1]) << 8);
            out.push_back(cp1252::FromUnicode(unit));
        }
        return out;
    }
    return raw;
}

// The whole text, or nothing: a file with one line we do not understand is
// not ours to interpret.
std::optional<Tree> ParseRegistryText(std::string_view text) {
    std::vector<std::string> lines;
    std::string pending;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = TrimBlanks(text.substr(start, end - start));
        start = end + 1;
        // Long hex lists continue on the next line after ",\".
        if (!line.empty() && line.back() == '\\' &&
            (!pending.empty() || line.front() == '"' || line.front() == '@')) {
            line.remove_suffix(1);
            pending.append(line);
            continue;
        }
        pending.append(line);
        lines.push_back(std::move(pending));
        pending.clear();
    }
    if (!pending.empty()) {
        return std::nullopt;
    }

    Tree tree;
    bool sawHeader = false;
    std::optional<std::string> section;
    for (const std::string& line : lines) {
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (!sawHeader) {
            if (line != HEADER && line != OLD_HEADER) {
                return std::nullopt;
            }
            sawHeader = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') {
                return std::nullopt;
            }
            const std::string_view full = std::string_view(line).substr(1, line.size() - 2);
            if (!EqualNoCase(full.substr(0, ROOT.size()), ROOT) ||
                (full.size() > ROOT.size() && full[ROOT.size()] != '\\')) {
                return std::nullopt;
            }
            const std::string_view path = full.substr(std::min(full.size(), ROOT.size() + 1));
            if (!IsValidKeyPath(path)) {
                return std::nullopt;
            }
            bool added = false;
            AddKeyPath(tree, path, added);
            section = std::string(path);
            continue;
        }
        if (!section) {
            return std::nullopt;
        }
        std::string_view rest = line;
        std::string name;
        if (rest.front() == '@') {
            rest.remove_prefix(1);
        } else {
            auto quoted = ParseQuoted(rest);
            if (!quoted) {
                return std::nullopt;
            }
            name = std::move(*quoted);
        }
        rest = TrimBlanks(rest);
        if (rest.empty() || rest.front() != '=') {
            return std::nullopt;
        }
        auto value = ParseData(rest.substr(1));
        if (!value) {
            return std::nullopt;
        }
        PutValue(tree[*section], name, std::move(*value));
    }
    if (!sawHeader) {
        return std::nullopt;
    }
    return tree;
}

std::string FormatRegistryText(const Tree& tree) {
    std::string out(HEADER);
    out.append("\n\n");
    for (const auto& [path, values] : tree) {
        if (path.empty() && values.empty()) {
            continue;
        }
        out.push_back('[');
        out.append(ROOT);
        if (!path.empty()) {
            out.push_back('\\');
            out.append(path);
        }
        out.append("]\n");
        for (const auto& [name, value] : values) {
            AppendValue(out, name, value);
        }
        out.push_back('\n');
    }
    return out;
}

}  // namespace quirtel::registry
