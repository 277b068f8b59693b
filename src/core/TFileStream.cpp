#include "core/TFileStream.h"

#include "core/EFCreateError.h"
#include "core/EFOpenError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opened without waiting, so a FIFO cannot hold the program until something writes to it;
// then only a regular file is read (a folder opens fine on Linux, but is no file to read).
int openRegularFile(const std::string& fileName) {
    int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
                    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)) {
        ::close(fd);
        fd = -1;
        errno = S_ISDIR(info.st_mode) ? EISDIR : 0;
    }
    return fd;
}

} // namespace

TFileStream::TFileStream(const std::string& fileName, Mode mode) : fileName_(fileName) {
    if (mode == Mode::OpenRead) {
        fd_ = openRegularFile(fileName);
        if (fd_ < 0) {
            throw EFOpenError(fileName, errno);
        }
    } else {
        fd_ = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd_ < 0) {
            throw EFCreateError(fileName, errno);
        }
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::size_t TFileStream::read(void* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd_, static_cast<char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::size_t TFileStream::write(const void* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, static_cast<const char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::int64_t TFileStream::seek(std::int64_t offset, SeekOrigin origin) {
    int whence = SEEK_SET;
    if (origin == SeekOrigin::Current) {
        whence = SEEK_CUR;
    } else if (origin == SeekOrigin::End) {
        whence = SEEK_END;
    }
    return ::lseek(fd_, offset, whence);
}

std::vector<std::uint8_t> TFileStream::readWhole(const std::string& fileName) {
    TFileStream file(fileName, Mode::OpenRead);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
    file.readBuffer(bytes.data(), bytes.size());
    return bytes;
}
