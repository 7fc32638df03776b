#include "core/files/DocumentFile.h"
#include "core/files/RegularFile.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace quirtel {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// Opening and saving accept only regular files, never block on a pipe or a
// device, and say why they refused. Saving never changes an existing file.
TEST(DocumentFile, OpensAndSavesOnlyRegularFilesWithoutBlocking) {
    TempFolder folder;
    WriteBytes(folder.File("notas"), "contenido");
    ASSERT_EQ(::mkdir(folder.File("carpeta").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(folder.File("tuberia").c_str(), 0644), 0);
    const struct {
        std::string path;
        FileError open;
        FileError save;
    } cases[] = {
        {folder.File("notas"), FileError::none, FileError::none},
        {folder.File("falta"), FileError::missing, FileError::none},
        {folder.File("no/notas"), FileError::missing, FileError::missing},
        {folder.File("notas/x"), FileError::missing, FileError::missing},
        {folder.File("carpeta"), FileError::notRegularFile, FileError::notRegularFile},
        {folder.File("tuberia"), FileError::notRegularFile, FileError::notRegularFile},
        {"/dev/zero", FileError::notRegularFile, FileError::notRegularFile},
        {"", FileError::missing, FileError::missing},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OpenDocumentFile(c.path).error, c.open) << c.path;
        EXPECT_EQ(SaveDocumentFile(c.path).error, c.save) << c.path;
    }
    EXPECT_EQ(ReadBytes(folder.File("notas")), "contenido");
    EXPECT_EQ(ReadBytes(folder.File("falta")), "");
}

// Permission faults are told apart from a missing file. Root ignores file
// modes, so the attempt runs in a child as an ordinary user.
TEST(DocumentFile, PermissionDeniedIsNotReportedAsMissing) {
    TempFolder folder;
    WriteBytes(folder.File("cerrado/notas"), "x");
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(folder.File("cerrado").c_str(), 0), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(100);
        }
        const bool denied =
            OpenDocumentFile(folder.File("cerrado/notas")).error == FileError::accessDenied &&
            SaveDocumentFile(folder.File("cerrado/nuevo")).error == FileError::accessDenied;
        ::_exit(denied ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(DocumentFile, ErrnoKinds) {
    EXPECT_EQ(FileErrorFromErrno(ENOSPC), FileError::diskFull);
    EXPECT_EQ(FileErrorFromErrno(EROFS), FileError::accessDenied);
    EXPECT_EQ(FileErrorFromErrno(EIO), FileError::other);
}

}  // namespace
}  // namespace quirtel
