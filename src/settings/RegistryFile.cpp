#include "settings/RegistryFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>

#include "spelling/Cp1252.h"

namespace quirtel {
namespace {

constexpr std::string_view HEADER = "Windows Registry Editor Version 5.00";
constexpr std::string_view OLD_HEADER = "REGEDIT4";
constexpr std::string_view ROOT = "HKEY_CURRENT_USER";
// A settings file holds a few lines; anything this large is not ours, and
// reading it whole would only waste memory.
constexpr off_t MAX_FILE_SIZE = 1 << 20;

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

int CodeFromErrno(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
            return REGISTRY_ACCESS_DENIED;
        default:
            return REGISTRY_FAILED;
    }
}

// Parts are non-empty and hold no line breaks, which the file could not carry.
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
    return path.find_first_of("\r\n") == std::string_view::npos;
}

bool IsValidValueName(std::string_view name) {
    return name.find_first_of("\r\n") == std::string_view::npos;
}

// Adds the key and every key along its path.
void AddKeyPath(RegistryFile::Tree& tree, std::string_view path, bool& added) {
    std::size_t end = 0;
    do {
        end = path.find('\\', end);
        const std::string_view prefix = path.substr(0, end);
        if (tree.find(prefix) == tree.end()) {
            tree.emplace(std::string(prefix), RegistryFile::Values{});
            added = true;
        }
        if (end != std::string_view::npos) {
            ++end;
        }
    } while (end != std::string_view::npos);
}

RegistryValue* FindValue(RegistryFile::Values& values, std::string_view name) {
    for (auto& [valueName, value] : values) {
        if (EqualNoCase(valueName, name)) {
            return &value;
        }
    }
    return nullptr;
}

void PutValue(RegistryFile::Values& values, std::string_view name, RegistryValue value) {
    if (RegistryValue* existing = FindValue(values, name)) {
        *existing = std::move(value);
    } else {
        values.emplace_back(std::string(name), std::move(value));
    }
}

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
std::optional<RegistryFile::Tree> ParseRegistryText(std::string_view text) {
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

    RegistryFile::Tree tree;
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

// Reads the file whole. REGISTRY_NOT_FOUND when there is none.
int ReadWholeFile(const std::string& path, std::string& out, bool& tooLarge) {
    tooLarge = false;
    // Non-blocking, so that a FIFO put in the file's place cannot hang the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        // A part of the path that is no folder means there is no file either.
        return (errno == ENOENT || errno == ENOTDIR) ? REGISTRY_NOT_FOUND : CodeFromErrno(errno);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int code = S_ISDIR(info.st_mode) ? REGISTRY_ACCESS_DENIED : REGISTRY_FAILED;
        ::close(fd);
        return code;
    }
    char buffer[4096];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int code = CodeFromErrno(errno);
            ::close(fd);
            return code;
        }
        if (n == 0) {
            break;
        }
        out.append(buffer, static_cast<std::size_t>(n));
        if (out.size() > static_cast<std::size_t>(MAX_FILE_SIZE)) {
            tooLarge = true;
            break;
        }
    }
    ::close(fd);
    return REGISTRY_OK;
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

std::string FormatRegistryText(const RegistryFile::Tree& tree) {
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

// mkdir -p; folders made here are private to the user.
int MakeFolders(const std::string& folder) {
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        const std::string part = folder.substr(0, pos);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return CodeFromErrno(errno);
        }
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return CodeFromErrno(errno);
    }
    return S_ISDIR(info.st_mode) ? REGISTRY_OK : REGISTRY_FAILED;
}

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return CodeFromErrno(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return REGISTRY_OK;
}

// Replaces the file in one step: the old content stays whole until the new
// one is on disk.
int WriteFileAtomically(const std::string& link, std::string_view content) {
    if (link.empty()) {
        return REGISTRY_FAILED;
    }
    // A file kept elsewhere behind a symbolic link is updated where it lies;
    // renaming over the link would cut it off.
    std::string path = link;
    if (char* resolved = ::realpath(link.c_str(), nullptr)) {
        path = resolved;
        std::free(resolved);
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    if (slash != std::string::npos && slash > 0) {
        if (const int code = MakeFolders(folder); code != REGISTRY_OK) {
            return code;
        }
    }
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return CodeFromErrno(errno);
    }
    int code = WriteAll(fd, content);
    if (code == REGISTRY_OK && ::fsync(fd) != 0) {
        code = CodeFromErrno(errno);
    }
    if (::close(fd) != 0 && code == REGISTRY_OK) {
        code = CodeFromErrno(errno);
    }
    if (code == REGISTRY_OK && ::rename(temp.c_str(), path.c_str()) != 0) {
        code = CodeFromErrno(errno);
    }
    if (code != REGISTRY_OK) {
        ::unlink(temp.c_str());
        return code;
    }
    // The rename itself lasts only once the folder is synced; a folder that
    // cannot be synced still holds a whole file, old or new.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return REGISTRY_OK;
}

}  // namespace

bool RegistryFile::PathLess::operator()(std::string_view a, std::string_view b) const {
    // The separator sorts before every other character.
    const auto rank = [](char c) {
        return c == '\\' ? 0 : static_cast<int>(static_cast<unsigned char>(Lower(c))) + 1;
    };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return rank(x) < rank(y); });
}

RegistryFile::RegistryFile(std::string path) : path_(std::move(path)) {
    if (path_.empty()) {
        return;
    }
    std::string raw;
    bool tooLarge = false;
    const int code = ReadWholeFile(path_, raw, tooLarge);
    if (code == REGISTRY_NOT_FOUND) {
        state_ = LoadState::Missing;
        return;
    }
    if (code != REGISTRY_OK) {
        state_ = LoadState::Unreadable;
        readError_ = code;
        return;
    }
    auto tree = tooLarge ? std::nullopt : ParseRegistryText(DecodeText(std::move(raw)));
    if (!tree) {
        state_ = LoadState::Damaged;
        return;
    }
    state_ = LoadState::Loaded;
    stored_ = std::move(*tree);
    current_ = stored_;
}

std::string RegistryFile::DefaultPath() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        std::string home;
        if (const char* env = std::getenv("HOME"); env != nullptr && env[0] != '\0') {
            home = env;
        } else {
            passwd entry{};
            passwd* found = nullptr;
            std::vector<char> buffer(16384);
            if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
                found != nullptr && found->pw_dir != nullptr) {
                home = found->pw_dir;
            }
        }
        if (home.empty()) {
            return {};
        }
        base = home + "/.config";
    }
    return base + "/quirtel/registry.reg";
}

int RegistryFile::CreateKey(std::string_view path) {
    if (!IsValidKeyPath(path)) {
        return REGISTRY_FAILED;
    }
    if (path.empty()) {
        return REGISTRY_OK;
    }
    bool added = false;
    AddKeyPath(current_, path, added);
    dirty_ = dirty_ || added;
    return REGISTRY_OK;
}

int RegistryFile::OpenKey(std::string_view path) {
    if (!IsValidKeyPath(path)) {
        return REGISTRY_FAILED;
    }
    return (path.empty() || current_.find(path) != current_.end()) ? REGISTRY_OK
                                                                   : REGISTRY_NOT_FOUND;
}

int RegistryFile::QueryValue(std::string_view path, std::string_view name, RegistryValue& value) {
    if (!IsValidKeyPath(path)) {
        return REGISTRY_FAILED;
    }
    const auto key = current_.find(path);
    if (key == current_.end()) {
        return REGISTRY_NOT_FOUND;
    }
    const RegistryValue* found = FindValue(key->second, name);
    if (found == nullptr) {
        return REGISTRY_NOT_FOUND;
    }
    value = *found;
    return REGISTRY_OK;
}

int RegistryFile::SetBinaryValue(std::string_view path, std::string_view name,
                                 std::span<const std::uint8_t> data) {
    if (!IsValidKeyPath(path) || !IsValidValueName(name)) {
        return REGISTRY_FAILED;
    }
    auto key = current_.find(path);
    if (key == current_.end()) {
        if (!path.empty()) {
            return REGISTRY_NOT_FOUND;
        }
        key = current_.emplace(std::string(), Values{}).first;
    }
    PutValue(key->second, name, RegistryValue{REG_TYPE_BINARY, {data.begin(), data.end()}});
    dirty_ = true;
    valueChanged_ = true;
    return REGISTRY_OK;
}

int RegistryFile::Flush() {
    if (!dirty_) {
        return REGISTRY_OK;
    }
    int code = REGISTRY_OK;
    if (state_ == LoadState::Unreadable) {
        code = readError_;
    } else if (state_ == LoadState::Damaged && !valueChanged_) {
        // New keys alone do not justify replacing a file we could not read;
        // they are written with the first value.
        return REGISTRY_OK;
    } else {
        code = WriteFileAtomically(path_, FormatRegistryText(current_));
    }
    if (code == REGISTRY_OK) {
        stored_ = current_;
        state_ = LoadState::Loaded;
    } else {
        current_ = stored_;
    }
    dirty_ = false;
    valueChanged_ = false;
    return code;
}

}  // namespace quirtel
