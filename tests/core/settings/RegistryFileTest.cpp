#include "core/settings/RegistryFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/CRegistryStore.h"
#include "core/settings/ProfileKeys.h"
#include "core/settings/WindowPlacement.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

namespace quirtel {
namespace {

using testing::FileSizeLimit;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const std::string APP_KEY = "Software\\Quelvo,S.A.\\Tapo";
const std::string WINDOW_KEY = APP_KEY + "\\Window";
const std::string HEADER = "Windows Registry Editor Version 5.00\n\n";

std::optional<RegistryValue> Query(RegistryBackend& registry, const std::string& path,
                                   const std::string& name) {
    RegistryValue value;
    if (registry.QueryValue(path, name, value) != REGISTRY_OK) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

// Temporary files that a crash left behind go with the next write; young ones
// (a write going on elsewhere) and other names stay.
TEST(RegistryFile, NextWriteRemovesStaleTemporaryFiles) {
    TempFolder folder;
    const std::string path = folder.File("registry.reg");
    const auto make = [&](const std::string& name, bool old) {
        WriteBytes(folder.File(name), "x");
        if (old) {
            const timespec times[2] = {{0, UTIME_OMIT}, {1000000, 0}};
            ASSERT_EQ(::utimensat(AT_FDCWD, folder.File(name).c_str(), times, 0), 0);
        }
    };
    make("registry.reg.Ab12Cd", true);
    make("registry.reg.Zz9999", false);
    make("registry.reg.toolong1", true);
    make("other.reg.Ab12Cd", true);
    RegistryFile registry(path);
    EXPECT_TRUE(SaveWindowPlacement(registry, {0, 0, 640, 480}));
    auto names = FolderEntries(folder.Path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"other.reg.Ab12Cd", "registry.reg",
                                               "registry.reg.Zz9999", "registry.reg.toolong1"}));
}

TEST(RegistryFile, WritesTheExportFormatAndReadsItBack) {
    TempFolder folder;
    const std::string path = folder.File("cfg/quirtel/registry.reg");
    {
        RegistryFile registry(path);
        EXPECT_EQ(registry.State(), RegistryFile::LoadState::Missing);
        EXPECT_TRUE(SaveWindowPlacement(registry, {100, -2, 740, 0x12345678}));
    }
    EXPECT_EQ(ReadBytes(path), HEADER +
                                   "[HKEY_CURRENT_USER\\Software]\n\n"
                                   "[HKEY_CURRENT_USER\\Software\\Quelvo,S.A.]\n\n"
                                   "[HKEY_CURRENT_USER\\Software\\Quelvo,S.A.\\Tapo]\n\n"
                                   "[HKEY_CURRENT_USER\\Software\\Quelvo,S.A.\\Tapo\\Window]\n"
                                   "\"x1\"=hex:64,00,00,00\n"
                                   "\"y1\"=hex:fe,ff,ff,ff\n"
                                   "\"x2\"=hex:e4,02,00,00\n"
                                   "\"y2\"=hex:78,56,34,12\n\n");
    RegistryFile again(path);
    EXPECT_EQ(again.State(), RegistryFile::LoadState::Loaded);
    EXPECT_EQ(LoadWindowPlacement(again), (WindowRect{100, -2, 740, 0x12345678}));
}

TEST(RegistryFile, ReadsWhatTheRegistryEditorWrites) {
    const std::string section = "[HKEY_CURRENT_USER\\Software\\Quelvo,S.A.\\Tapo\\Window]";
    const struct {
        const char* label;
        std::string text;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    } cases[] = {
        {"LF", HEADER + section + "\n\"x1\"=hex:64,00,00,00\n", 3, {0x64, 0, 0, 0}},
        {"CR LF",
         "Windows Registry Editor Version 5.00\r\n\r\n" + section +
             "\r\n\"x1\"=hex:64,00,00,00\r\n",
         3,
         {0x64, 0, 0, 0}},
        {"dword", HEADER + section + "\n\"x1\"=dword:0000000a\n", 4, {10, 0, 0, 0}},
        {"typed hex", HEADER + section + "\n\"x1\"=hex(4):0a,00,00,00\n", 4, {10, 0, 0, 0}},
        {"qword",
         HEADER + section + "\n\"x1\"=hex(b):01,02,03,04,05,06,07,08\n",
         11,
         {1, 2, 3, 4, 5, 6, 7, 8}},
        {"string",
         HEADER + section + "\n\"x1\"=\"a\\\\b\\\"c\"\n",
         1,
         {'a', '\\', 'b', '"', 'c', 0}},
        {"continued hex list",
         HEADER + section + "\n\"x1\"=hex:01,02,\\\n  03,04\n",
         3,
         {1, 2, 3, 4}},
        {"other case, comments, blanks",
         HEADER + "; saved by hand\n" +
             "[hkey_current_user\\SOFTWARE\\quelvo,s.a.\\TAPO\\"
             "window]\n\"X1\" = hex:FF\n\n\n",
         3,
         {0xFF}},
        {"old header", "REGEDIT4\n\n" + section + "\n\"x1\"=hex:\n", 3, {}},
        {"UTF-8 mark", "\xEF\xBB\xBF" + HEADER + section + "\n\"x1\"=hex:07\n", 3, {7}},
        {"later value wins", HEADER + section + "\n\"x1\"=hex:01\n\"x1\"=hex:02\n", 3, {2}},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        WriteBytes(folder.File("registry.reg"), c.text);
        RegistryFile registry(folder.File("registry.reg"));
        EXPECT_EQ(registry.State(), RegistryFile::LoadState::Loaded) << c.label;
        const auto value = Query(registry, WINDOW_KEY, "x1");
        ASSERT_TRUE(value.has_value()) << c.label;
        EXPECT_EQ(value->type, c.type) << c.label;
        EXPECT_EQ(value->data, c.data) << c.label;
        EXPECT_EQ(registry.OpenKey(APP_KEY), REGISTRY_OK) << c.label;
        EXPECT_EQ(registry.OpenKey("Software"), REGISTRY_OK) << c.label;
    }
}

TEST(RegistryFile, ReadsUtf16Exports) {
    const std::string text = HEADER + "[HKEY_CURRENT_USER\\Software\\Quelvo,S.A.\\Tapo\\Window]\n" +
                             "\"x1\"=dword:00000064\n";
    std::string utf16 = "\xFF\xFE";
    for (const char c : text) {
        utf16.push_back(c);
        utf16.push_back('\0');
    }
    TempFolder folder;
    WriteBytes(folder.File("registry.reg"), utf16);
    RegistryFile registry(folder.File("registry.reg"));
    EXPECT_EQ(LoadWindowPlacement(registry), (WindowRect{100, 0, 640, 480}));
}

TEST(RegistryFile, DamagedFileReadsEmptyAndStaysUntilAValueIsWritten) {
    const std::string section = "[HKEY_CURRENT_USER\\Software\\Quelvo,S.A.\\Tapo\\Window]\n";
    const struct {
        const char* label;
        std::string text;
    } cases[] = {
        {"empty file", ""},
        {"binary", std::string("\x00\x01\x02\xFF garbage", 12)},
        {"other program's settings", "[General]\nx1=100\n"},
        {"other version", "Windows Registry Editor Version 4.00\n\n" + section},
        {"value before any key", HEADER + "\"x1\"=hex:64,00,00,00\n" + section},
        {"other hive", HEADER + "[HKEY_LOCAL_MACHINE\\Software]\n"},
        {"root prefix only", HEADER + "[HKEY_CURRENT_USERS\\Software]\n"},
        {"deletion", HEADER + "[-HKEY_CURRENT_USER\\Software]\n"},
        {"deleted value", HEADER + section + "\"x1\"=-\n"},
        {"bad hex digit", HEADER + section + "\"x1\"=hex:6g,00,00,00\n"},
        {"hex byte too long", HEADER + section + "\"x1\"=hex:100,00\n"},
        {"dword too long", HEADER + section + "\"x1\"=dword:000000001\n"},
        {"unknown type", HEADER + section + "\"x1\"=qword:1\n"},
        {"unterminated name", HEADER + section + "\"x1=hex:64\n"},
        {"bad escape", HEADER + section + "\"x\\1\"=hex:64\n"},
        {"unclosed key", HEADER + "[HKEY_CURRENT_USER\\Software\n"},
        {"empty key part", HEADER + "[HKEY_CURRENT_USER\\Software\\\\Tapo]\n"},
        {"dangling continuation", HEADER + section + "\"x1\"=hex:64,\\\n"},
        {"too large", HEADER + section + std::string(2 << 20, ';')},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::string path = folder.File("registry.reg");
        WriteBytes(path, c.text);
        {
            RegistryFile registry(path);
            EXPECT_EQ(registry.State(), RegistryFile::LoadState::Damaged) << c.label;
            EXPECT_EQ(EnsureProfileKeys(registry), REGISTRY_OK) << c.label;
            EXPECT_EQ(LoadWindowPlacement(registry), WindowRect{}) << c.label;
        }
        EXPECT_EQ(ReadBytes(path), c.text) << c.label;
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"registry.reg"})
            << c.label;
        {
            RegistryFile registry(path);
            EXPECT_EQ(EnsureProfileKeys(registry), REGISTRY_OK) << c.label;
            EXPECT_EQ(ReadBytes(path), c.text) << c.label;
            EXPECT_TRUE(SaveWindowPlacement(registry, {1, 2, 3, 4})) << c.label;
        }
        RegistryFile replaced(path);
        EXPECT_EQ(replaced.State(), RegistryFile::LoadState::Loaded) << c.label;
        EXPECT_EQ(LoadWindowPlacement(replaced), (WindowRect{1, 2, 3, 4})) << c.label;
        // The keys made while the file was damaged were kept for that write.
        EXPECT_EQ(replaced.OpenKey("Software\\Quirtel\\Tapo\\Settings"), REGISTRY_OK) << c.label;
    }
}

TEST(RegistryFile, RewriteKeepsWhatItDoesNotUse) {
    const std::string original = HEADER +
                                 "[HKEY_CURRENT_USER\\Software\\Other]\n"
                                 "@=\"default text\"\n"
                                 "\"list\"=hex(7):61,00,00,00\n"
                                 "\"count\"=dword:ffffffff\n\n"
                                 "[HKEY_CURRENT_USER\\Software\\Quelvo,S.A.\\Tapo\\Window]\n"
                                 "\"x1\"=hex:01,00,00,00\n"
                                 "\"extra\"=hex(b):01,02,03,04,05,06,07,08\n";
    TempFolder folder;
    const std::string path = folder.File("registry.reg");
    WriteBytes(path, original);
    {
        RegistryFile registry(path);
        EXPECT_TRUE(SaveWindowPlacement(registry, {5, 6, 7, 8}));
    }
    RegistryFile registry(path);
    EXPECT_EQ(
        Query(registry, "Software\\Other", "").value().data,
        (std::vector<std::uint8_t>{'d', 'e', 'f', 'a', 'u', 'l', 't', ' ', 't', 'e', 'x', 't', 0}));
    EXPECT_EQ(Query(registry, "Software\\Other", "list").value().type, 7u);
    EXPECT_EQ(Query(registry, "Software\\Other", "count").value().type, REG_TYPE_DWORD);
    EXPECT_EQ(Query(registry, "Software\\Other", "count").value().data,
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Query(registry, WINDOW_KEY, "extra").value().data.size(), 8u);
    EXPECT_EQ(LoadWindowPlacement(registry), (WindowRect{5, 6, 7, 8}));
    // The overwritten value is still first in its key, the new ones follow.
    const std::string text = ReadBytes(path);
    EXPECT_LT(text.find("\"x1\"=hex:05"), text.find("\"extra\""));
    EXPECT_LT(text.find("\"extra\""), text.find("\"y1\""));
}

TEST(RegistryFile, OpeningCreatesTheApplicationKeyOnceAndProfileKeysAreEmpty) {
    TempFolder folder;
    const std::string path = folder.File("registry.reg");
    {
        RegistryFile registry(path);
        EXPECT_EQ(LoadWindowPlacement(registry), WindowRect{});
        EXPECT_EQ(EnsureProfileKeys(registry), REGISTRY_OK);
    }
    EXPECT_EQ(ReadBytes(path), HEADER +
                                   "[HKEY_CURRENT_USER\\Software]\n\n"
                                   "[HKEY_CURRENT_USER\\Software\\Quelvo,S.A.]\n\n"
                                   "[HKEY_CURRENT_USER\\Software\\Quelvo,S.A.\\Tapo]\n\n"
                                   "[HKEY_CURRENT_USER\\Software\\Quirtel]\n\n"
                                   "[HKEY_CURRENT_USER\\Software\\Quirtel\\Tapo]\n\n"
                                   "[HKEY_CURRENT_USER\\Software\\Quirtel\\Tapo\\Settings]\n\n");

    // A later start finds every key and leaves the file as it is.
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    {
        RegistryFile registry(path);
        LoadWindowPlacement(registry);
        EXPECT_EQ(EnsureProfileKeys(registry), REGISTRY_OK);
    }
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST(RegistryFile, WriteFailuresReturnACodeAndKeepTheStoredValues) {
    TempFolder folder;
    WriteBytes(folder.File("plain-file"), "not a folder");
    const struct {
        const char* label;
        std::string path;
        int code;
        bool onlyWithoutRoot;
    } cases[] = {
        {"folder under a file", folder.File("plain-file/quirtel/registry.reg"), REGISTRY_FAILED,
         false},
        {"no path", "", REGISTRY_FAILED, false},
        {"read-only folder", folder.File("locked/registry.reg"), REGISTRY_ACCESS_DENIED, true},
    };
    std::filesystem::create_directory(folder.Path() / "locked");
    ::chmod((folder.Path() / "locked").c_str(), 0500);
    for (const auto& c : cases) {
        if (c.onlyWithoutRoot && RunningAsRoot()) {
            continue;  // root writes into read-only folders
        }
        RegistryFile registry(c.path);
        CRegistryStore store(registry);
        store.company = "Quelvo,S.A.";
        store.application = "Tapo";
        int status = -1;
        EXPECT_FALSE(store.Open(status)) << c.label;
        EXPECT_EQ(status, c.code) << c.label;
        EXPECT_FALSE(store.WriteInt("Window\\x1", 7, status)) << c.label;
        EXPECT_EQ(status, c.code) << c.label;
        std::int32_t value = 0;
        EXPECT_FALSE(store.ReadInt("Window\\x1", value, 99)) << c.label;
        EXPECT_EQ(value, 99) << c.label;
        EXPECT_FALSE(SaveWindowPlacement(registry, {1, 2, 3, 4})) << c.label;
    }
    EXPECT_EQ(ReadBytes(folder.File("plain-file")), "not a folder");
}

TEST(RegistryFile, FailedWriteLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string path = folder.File("registry.reg");
    {
        RegistryFile registry(path);
        ASSERT_TRUE(SaveWindowPlacement(registry, {10, 20, 30, 40}));
    }
    const std::string before = ReadBytes(path);

    RegistryFile registry(path);
    CRegistryStore store(registry);
    store.company = "Quelvo,S.A.";
    store.application = "Tapo";
    int firstStatus = 0;
    bool firstWritten = true;
    bool secondWritten = true;
    {
        // Nothing is printed while the limit holds: output to a file would fail too.
        FileSizeLimit limit(64);
        firstWritten = store.WriteInt("Window\\x1", 11, firstStatus);
        int status = 0;
        secondWritten = store.WriteInt("Window\\y1", 21, status);
    }
    EXPECT_FALSE(firstWritten);
    EXPECT_EQ(firstStatus, REGISTRY_FAILED);
    EXPECT_FALSE(secondWritten);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"registry.reg"});
    // What failed to be stored is not read back as if it had been.
    EXPECT_EQ(LoadWindowPlacement(registry), (WindowRect{10, 20, 30, 40}));

    int status = -1;
    EXPECT_TRUE(store.WriteInt("Window\\y1", 21, status));
    EXPECT_EQ(status, REGISTRY_OK);
    RegistryFile reread(path);
    EXPECT_EQ(LoadWindowPlacement(reread), (WindowRect{10, 21, 30, 40}));
}

TEST(RegistryFile, UnreadableFileIsNeverReplaced) {
    TempFolder folder;
    // A folder where the file should be: it cannot be read, even by root.
    const std::string folderPath = folder.File("registry.reg");
    std::filesystem::create_directory(folderPath);
    WriteBytes(folder.File("registry.reg/inside"), "keep");

    const std::string unreadableFile = folder.File("unreadable.reg");
    const std::string good = HEADER + "[HKEY_CURRENT_USER\\Software\\Quelvo,S.A.\\Tapo\\Window]\n" +
                             "\"x1\"=hex:64,00,00,00\n";
    WriteBytes(unreadableFile, good);
    ::chmod(unreadableFile.c_str(), 0);

    // A FIFO would block a plain open until someone writes to it.
    const std::string fifo = folder.File("fifo.reg");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    std::vector<std::pair<std::string, int>> cases = {{folderPath, REGISTRY_ACCESS_DENIED},
                                                      {fifo, REGISTRY_FAILED}};
    if (!RunningAsRoot()) {
        cases.emplace_back(unreadableFile, REGISTRY_ACCESS_DENIED);
    }
    for (const auto& [path, code] : cases) {
        {
            RegistryFile registry(path);
            EXPECT_EQ(registry.State(), RegistryFile::LoadState::Unreadable) << path;
            EXPECT_EQ(LoadWindowPlacement(registry), WindowRect{}) << path;
            EXPECT_FALSE(SaveWindowPlacement(registry, {1, 2, 3, 4})) << path;
            CRegistryStore store(registry);
            store.company = "Quelvo,S.A.";
            store.application = "Tapo";
            int status = 0;
            EXPECT_FALSE(store.WriteInt("Window\\x1", 1, status)) << path;
            EXPECT_EQ(status, code) << path;
        }
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(ReadBytes(folder.File("registry.reg/inside")), "keep");
    ::chmod(unreadableFile.c_str(), 0600);
    EXPECT_EQ(ReadBytes(unreadableFile), good);
}

TEST(RegistryFile, WritesThroughASymbolicLink) {
    TempFolder folder;
    const std::string target = folder.File("dotfiles/registry.reg");
    const std::string link = folder.File("config/quirtel/registry.reg");
    WriteBytes(target, HEADER);
    std::filesystem::create_directories(folder.Path() / "config/quirtel");
    std::filesystem::create_symlink(target, link);
    {
        RegistryFile registry(link);
        EXPECT_TRUE(SaveWindowPlacement(registry, {1, 2, 3, 4}));
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    RegistryFile registry(target);
    EXPECT_EQ(LoadWindowPlacement(registry), (WindowRect{1, 2, 3, 4}));
    EXPECT_EQ(FolderEntries(folder.Path() / "dotfiles"), std::vector<std::string>{"registry.reg"});
}

TEST(RegistryFile, RefusesNamesTheFileCannotCarry) {
    TempFolder folder;
    RegistryFile registry(folder.File("registry.reg"));
    const std::uint8_t data[4] = {1, 0, 0, 0};
    EXPECT_EQ(registry.CreateKey("Software\\\\Tapo"), REGISTRY_FAILED);
    EXPECT_EQ(registry.CreateKey("Software\\"), REGISTRY_FAILED);
    EXPECT_EQ(registry.CreateKey("\\Software"), REGISTRY_FAILED);
    EXPECT_EQ(registry.CreateKey("Soft\nware"), REGISTRY_FAILED);
    EXPECT_EQ(registry.CreateKey("Software\\Tapo"), REGISTRY_OK);
    EXPECT_EQ(registry.SetBinaryValue("Software\\Tapo", "a\nb", data), REGISTRY_FAILED);
    EXPECT_EQ(registry.SetBinaryValue("Software\\Missing", "x", data), REGISTRY_NOT_FOUND);

    // A store without company and application names has no key to open.
    CRegistryStore store(registry);
    int status = 0;
    EXPECT_FALSE(store.Open(status));
    EXPECT_EQ(status, REGISTRY_FAILED);

    // Quotes and backslashes in value names survive the file.
    EXPECT_EQ(registry.SetBinaryValue("Software\\Tapo", "say \"hi\" \\ bye", data), REGISTRY_OK);
    EXPECT_EQ(registry.Flush(), REGISTRY_OK);
    RegistryFile reread(folder.File("registry.reg"));
    EXPECT_TRUE(Query(reread, "Software\\Tapo", "say \"hi\" \\ bye").has_value());
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(RegistryFile, DefaultPathFollowsTheConfigFolder) {
    const struct {
        const char* xdg;
        const char* home;
        const char* expected;
    } cases[] = {
        {"/cfg", "/home/ana", "/cfg/quirtel/registry.reg"},
        {nullptr, "/home/ana", "/home/ana/.config/quirtel/registry.reg"},
        {"", "/home/ana", "/home/ana/.config/quirtel/registry.reg"},
        {"relative/cfg", "/home/ana", "/home/ana/.config/quirtel/registry.reg"},
    };
    for (const auto& c : cases) {
        ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        ScopedEnv home("HOME", c.home);
        EXPECT_EQ(RegistryFile::DefaultPath(), c.expected) << (c.xdg ? c.xdg : "(unset)");
    }
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", nullptr);
    // Without HOME the account's home folder is used.
    const std::string path = RegistryFile::DefaultPath();
    EXPECT_TRUE(path.empty() || path.ends_with("/.config/quirtel/registry.reg")) << path;
}

}  // namespace
}  // namespace quirtel
