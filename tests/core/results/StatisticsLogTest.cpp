#include "core/results/StatisticsLog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "core/results/FinalResult.h"

namespace quirtel {
namespace {

using namespace std::chrono_literals;

const std::string kRecord =
    "\r\n06-Dec-2026 08:15 --- 212.40 caracteres/min --- 05:00 minutos --- Faltas: 11 --- "
    "Pulsaciones: 201.40 caracteres/min";

class StatisticsLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "quirtel-log-XXXXXX");
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        log_ = dir_ + "/estadistica.txt";
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Runs `body` in a child process and returns its exit code, or -1 when it
    // did not exit normally.
    static int InChild(const std::function<int()>& body) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::_exit(body());
        }
        int status = 0;
        if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
            return -1;
        }
        return WEXITSTATUS(status);
    }

    std::string dir_;
    std::string log_;
};

TEST_F(StatisticsLogTest, FirstRecordCreatesTheFileWithAnEmptyFirstLine) {
    EXPECT_EQ(AppendStatisticsRecord(log_, kRecord), std::nullopt);
    EXPECT_EQ(Read(log_), kRecord);
    struct stat info {};
    ASSERT_EQ(::stat(log_.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
}

TEST_F(StatisticsLogTest, RecordsGoAfterTheLastByteOfExistingContent) {
    Write(log_, "contenido sin salto final");
    EXPECT_EQ(AppendStatisticsRecord(log_, kRecord), std::nullopt);
    EXPECT_EQ(AppendStatisticsRecord(log_, "\r\nsegundo"), std::nullopt);
    EXPECT_EQ(Read(log_), "contenido sin salto final" + kRecord + "\r\nsegundo");
}

TEST_F(StatisticsLogTest, OpeningFailuresNameThePathAsGiven) {
    ASSERT_EQ(::mkdir((dir_ + "/carpeta").c_str(), 0755), 0);
    Write(dir_ + "/fichero", "x");
    ASSERT_EQ(::mkfifo((dir_ + "/tuberia").c_str(), 0644), 0);
    const struct {
        std::string path;
        int cause;
    } cases[] = {
        {dir_ + "/no-existe/estadistica.txt", badPath},
        {dir_ + "/fichero/estadistica.txt", badPath},  // a file where a folder should be
        {dir_ + "/carpeta", accessDenied},             // a folder cannot be written
        {dir_ + "/" + std::string(300, 'x'), badPath},
        {"", badPath},
        {dir_ + "/tuberia", generic},  // a FIFO nobody reads must not block the caller
    };
    for (const auto& c : cases) {
        const auto failure = AppendStatisticsRecord(c.path, kRecord);
        ASSERT_TRUE(failure.has_value()) << c.path;
        EXPECT_EQ(failure->cause, c.cause) << c.path;
        EXPECT_EQ(failure->fileName, c.path);
    }
    EXPECT_EQ(Read(dir_ + "/fichero"), "x");
}

TEST_F(StatisticsLogTest, ReadOnlyLogIsRefusedAndLeftUnchanged) {
    Write(log_, "antes");
    ASSERT_EQ(::chmod(log_.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0);
    // Root ignores file modes, so the attempt runs as an ordinary user then.
    const int cause = InChild([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            return 100;
        }
        const auto failure = AppendStatisticsRecord(log_, kRecord);
        if (!failure) {
            return 0;
        }
        return failure->fileName == log_ ? failure->cause : 101;
    });
    EXPECT_EQ(cause, accessDenied);
    // A log nobody may write is read-only for whoever runs the program.
    const auto failure = AppendStatisticsRecord(log_, kRecord);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->cause, accessDenied);
    EXPECT_EQ(Read(log_), "antes");
}

TEST_F(StatisticsLogTest, LockHeldElsewhereIsRetriedThenRefused) {
    Write(log_, "antes");
    // Both lock kinds belong to the open file description, so a second opening
    // in this process conflicts like another program would.
    const auto takeFlock = [](int fd) { return ::flock(fd, LOCK_EX) == 0; };
    const auto takeRecordLock = [](int fd) {
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
    };
    for (const auto& take :
         {std::function<bool(int)>(takeFlock), std::function<bool(int)>(takeRecordLock)}) {
        const int other = ::open(log_.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(other, 0);
        ASSERT_TRUE(take(other));
        const auto start = std::chrono::steady_clock::now();
        const auto failure = AppendStatisticsRecord(log_, kRecord, 150ms);
        EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->cause, sharingViolation);
        EXPECT_EQ(failure->fileName, log_);
        EXPECT_EQ(Read(log_), "antes");
        ::close(other);
    }
}

TEST_F(StatisticsLogTest, LockReleasedDuringTheWaitLetsTheRecordIn) {
    Write(log_, "antes");
    const int other = ::open(log_.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    std::thread releaser([other] {
        std::this_thread::sleep_for(200ms);
        ::close(other);
    });
    const auto start = std::chrono::steady_clock::now();
    const auto failure = AppendStatisticsRecord(log_, kRecord);
    const auto waited = std::chrono::steady_clock::now() - start;
    releaser.join();
    EXPECT_EQ(failure, std::nullopt);
    EXPECT_GE(waited, 150ms);
    EXPECT_LT(waited, 1900ms);
    EXPECT_EQ(Read(log_), "antes" + kRecord);
}

TEST_F(StatisticsLogTest, WriteThatFailsHalfwayLeavesNoPartialRecord) {
    Write(log_, "antes");
    // A file size limit a few bytes past the current end makes the first
    // write partial and the next one fail with EFBIG.
    const int cause = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{10, 10};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 100;
        }
        const auto failure = AppendStatisticsRecord(log_, kRecord);
        if (!failure) {
            return 0;
        }
        return failure->fileName == log_ ? failure->cause : 101;
    });
    EXPECT_EQ(cause, diskFull);
    EXPECT_EQ(Read(log_), "antes");
}

TEST_F(StatisticsLogTest, FullDeviceReportsDiskFullWithTheAbsoluteName) {
    if (::access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full";
    }
    ASSERT_EQ(::symlink("/dev/full", log_.c_str()), 0);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    const std::string currentDir = std::filesystem::current_path();
    const auto failure = AppendStatisticsRecord(STATISTICS_LOG_PATH, kRecord);
    std::filesystem::current_path(before);

    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->cause, diskFull);
    EXPECT_EQ(failure->fileName, currentDir + "/estadistica.txt");
    EXPECT_TRUE(std::filesystem::is_symlink(log_));
}

TEST(StatisticsLog, AbsolutePathIsNormalisedLexically) {
    const struct {
        const char* currentDir;
        const char* path;
        const char* absolute;
    } cases[] = {
        {"/home/ana/pruebas", "./estadistica.txt", "/home/ana/pruebas/estadistica.txt"},
        {"/home/ana/pruebas", "estadistica.txt", "/home/ana/pruebas/estadistica.txt"},
        {"/home/ana/pruebas", "../otra/./x.txt", "/home/ana/otra/x.txt"},
        {"/home/ana/", "datos//x.txt", "/home/ana/datos/x.txt"},
        {"/", "./estadistica.txt", "/estadistica.txt"},
        {"/a", "../../../x", "/x"},
        {"/a", "/abs/./b/../c", "/abs/c"},
        {"/a", ".", "/a"},
        {"/a", "..", "/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AbsolutePath(c.currentDir, c.path), c.absolute) << c.currentDir << " " << c.path;
    }
}

TEST(StatisticsLog, OperatingSystemErrorsMapToCauseCodes) {
    const struct {
        int err;
        int cause;
    } cases[] = {
        {ENOENT, fileNotFound},
        {ENOTDIR, badPath},
        {ENAMETOOLONG, badPath},
        {ELOOP, badPath},
        {EACCES, accessDenied},
        {EPERM, accessDenied},
        {EROFS, accessDenied},
        {EISDIR, accessDenied},
        {EMFILE, tooManyOpenFiles},
        {ENFILE, tooManyOpenFiles},
        {EWOULDBLOCK, sharingViolation},
        {ETXTBSY, sharingViolation},
        {ENOSPC, diskFull},
        {EDQUOT, diskFull},
        {EIO, hardIO},
        {EBADF, invalidFile},
        {ENOMEM, generic},
        {EINTR, generic},
        {ENXIO, generic},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CauseFromErrno(c.err), c.cause) << c.err;
    }
}

TEST(StatisticsLog, FailureMessageHasThreeLines) {
    EXPECT_EQ(FileFailureMessage({accessDenied, "./estadistica.txt"}),
              "No puedo escribir datos\n<CFileException(5)>\n./estadistica.txt");
    EXPECT_EQ(FileFailureMessage({diskFull, "/home/ana/estadistica.txt"}),
              "No puedo escribir datos\n<CFileException(13)>\n/home/ana/estadistica.txt");
}

}  // namespace
}  // namespace quirtel
