#include "core/files/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/files/AtomicFile.h"
#include "support/TempFolder.h"

namespace quirtel {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// A bounded read takes regular files only, never waits on a FIFO, and says
// which of the failure kinds it met.
TEST(RegularFile, BoundedReadSaysWhatWentWrong) {
    TempFolder folder;
    WriteBytes(folder.File("corto"), "12345");
    ASSERT_EQ(::mkdir(folder.File("carpeta").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(folder.File("tuberia").c_str(), 0644), 0);
    const struct {
        std::string path;
        std::size_t maxBytes;
        FileError error;
        std::string bytes;
    } cases[] = {
        {folder.File("corto"), 5, FileError::none, "12345"},
        {folder.File("corto"), 4, FileError::tooLarge, ""},
        {folder.File("falta"), 5, FileError::missing, ""},
        {folder.File("corto/x"), 5, FileError::missing, ""},
        {folder.File("carpeta"), 5, FileError::notRegularFile, ""},
        {folder.File("tuberia"), 5, FileError::notRegularFile, ""},
        {"/dev/zero", 5, FileError::notRegularFile, ""},
    };
    for (const auto& c : cases) {
        std::string bytes = "viejo";
        EXPECT_EQ(ReadRegularFile(c.path, bytes, c.maxBytes).error, c.error) << c.path;
        EXPECT_EQ(bytes, c.bytes) << c.path;
    }
    std::string bytes;
    EXPECT_EQ(ReadRegularFile(folder.File("carpeta"), bytes, 5).systemError, EISDIR);
}

// A replacement keeps the old file's permissions (a new file is private),
// and a link, even one whose file is not there yet, is written through.
TEST(RegularFile, ReplacementKeepsModeAndFollowsLinks) {
    TempFolder folder;
    const std::string shared = folder.File("compartido");
    WriteBytes(shared, "a");
    ASSERT_EQ(::chmod(shared.c_str(), 0640), 0);
    ASSERT_TRUE(ReplaceFileAtomically(shared, "b").ok());
    struct stat info {};
    ASSERT_EQ(::stat(shared.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadBytes(shared), "b");

    const std::string fresh = folder.File("nuevo/lista");
    ASSERT_TRUE(ReplaceFileAtomically(fresh, "c").ok());
    ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);

    // A relative dangling link, through a second link.
    std::filesystem::create_symlink("datos/real.dic", folder.Path() / "enlace1");
    std::filesystem::create_symlink("enlace1", folder.Path() / "enlace2");
    ASSERT_TRUE(ReplaceFileAtomically(folder.File("enlace2"), "d").ok());
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path() / "enlace2"));
    EXPECT_EQ(ReadBytes(folder.File("datos/real.dic")), "d");

    std::filesystem::create_symlink("bucle", folder.Path() / "bucle");
    EXPECT_EQ(ReplaceFileAtomically(folder.File("bucle"), "e").systemError, ELOOP);
    EXPECT_EQ(ReplaceFileAtomically("", "e").error, FileError::missing);
}

}  // namespace
}  // namespace quirtel
