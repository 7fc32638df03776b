#pragma once

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace quirtel {

// An open file descriptor, closed when the object goes. -1 holds nothing.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.fd_, -1));
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

    // Closes what is held and holds `fd` instead.
    void Reset(int fd = -1) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }
    // Closes now and reports the errno of a failed close (0 when it
    // succeeded). On Linux the descriptor is released even on EINTR, which is
    // therefore no failure.
    int Close() {
        const int fd = std::exchange(fd_, -1);
        if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) {
            return errno;
        }
        return 0;
    }

private:
    int fd_ = -1;
};

}  // namespace quirtel
