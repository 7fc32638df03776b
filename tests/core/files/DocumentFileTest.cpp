#include "core/files/DocumentFile.h"

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
        DocumentFileError open;
        DocumentFileError save;
    } cases[] = {
        {folder.File("notas"), DocumentFileError::none, DocumentFileError::none},
        {folder.File("falta"), DocumentFileError::notFound, DocumentFileError::none},
        {folder.File("no/notas"), DocumentFileError::notFound, DocumentFileError::notFound},
        {folder.File("notas/x"), DocumentFileError::notFound, DocumentFileError::notFound},
        {folder.File("carpeta"), DocumentFileError::notRegularFile,
         DocumentFileError::notRegularFile},
        {folder.File("tuberia"), DocumentFileError::notRegularFile,
         DocumentFileError::notRegularFile},
        {"/dev/zero", DocumentFileError::notRegularFile, DocumentFileError::notRegularFile},
        {"", DocumentFileError::notFound, DocumentFileError::notFound},
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
            OpenDocumentFile(folder.File("cerrado/notas")).error ==
                DocumentFileError::accessDenied &&
            SaveDocumentFile(folder.File("cerrado/nuevo")).error == DocumentFileError::accessDenied;
        ::_exit(denied ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(DocumentFile, ErrnoKinds) {
    EXPECT_EQ(DocumentErrorFromErrno(ENOSPC), DocumentFileError::diskFull);
    EXPECT_EQ(DocumentErrorFromErrno(EROFS), DocumentFileError::accessDenied);
    EXPECT_EQ(DocumentErrorFromErrno(EIO), DocumentFileError::other);
}

}  // namespace
}  // namespace quirtel
