#include "platform/LocalFileOperations.h"

#include "platform/LocalReplacementFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::optional<struct stat> status(const QString& path) {
    struct stat result {};
    if (::stat(QFile::encodeName(path).constData(), &result) != 0) {
        return std::nullopt;
    }
    return result;
}

// Opened without waiting: a FIFO named like a picture would otherwise hold the program
// until something writes to it. Only a regular file opens.
int openRegularFile(const QString& path) {
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat file {};
    if (descriptor >= 0 && (::fstat(descriptor, &file) != 0 || !S_ISREG(file.st_mode))) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

} // namespace

std::optional<qint64> LocalFileOperations::fileSize(const QString& path) {
    // Measured through an open handle, so a file that exists but cannot be read has no size.
    const int descriptor = openRegularFile(path);
    if (descriptor < 0) {
        return std::nullopt;
    }
    struct stat file {};
    const bool measured = ::fstat(descriptor, &file) == 0;
    ::close(descriptor);
    return measured ? std::optional<qint64>(file.st_size) : std::nullopt;
}

bool LocalFileOperations::exists(const QString& path) {
    return status(path).has_value();
}

std::optional<FileIdentity> LocalFileOperations::identity(const QString& path) {
    const std::optional<struct stat> file = status(path);
    if (!file) {
        return std::nullopt;
    }
    return FileIdentity{file->st_dev,         file->st_ino,          file->st_size,
                        file->st_mtim.tv_sec, file->st_mtim.tv_nsec, file->st_ctim.tv_sec,
                        file->st_ctim.tv_nsec};
}

bool LocalFileOperations::sameFile(const QString& first, const QString& second) {
    if (first == second) {
        return true;
    }
    const std::optional<FileIdentity> a = identity(first);
    const std::optional<FileIdentity> b = identity(second);
    if (a && b) {
        return a->sameFileAs(*b);
    }
    // A file that is gone can still be named twice.
    return QDir::cleanPath(QFileInfo(first).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(second).absoluteFilePath());
}

std::unique_ptr<ReplacementFile> LocalFileOperations::createReplacement(const QString& target) {
    return LocalReplacementFile::create(target);
}

std::error_code LocalFileOperations::createFolders(const QString& path) {
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(path).toStdString(), error);
    return error;
}

std::optional<QString> LocalFileOperations::createFolderBeside(const QString& target) {
    QByteArray pattern = LocalReplacementFile::hiddenNameBeside(target, ".trevano-XXXXXX");
    if (!::mkdtemp(pattern.data())) {
        return std::nullopt;
    }
    return QFile::decodeName(pattern);
}

bool LocalFileOperations::removeFolder(const QString& path) {
    return ::rmdir(QFile::encodeName(path).constData()) == 0;
}

bool LocalFileOperations::replace(const QString& from, const QString& to) {
    // The new content takes the old file's permissions: a private picture stays private.
    if (const std::optional<struct stat> old = status(to)) {
        ::chmod(QFile::encodeName(from).constData(), old->st_mode & 07777);
    }
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool LocalFileOperations::renameNew(const QString& from, const QString& to) {
    return ::renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD,
                       QFile::encodeName(to).constData(), RENAME_NOREPLACE) == 0;
}

bool LocalFileOperations::remove(const QString& path) {
    return ::unlink(QFile::encodeName(path).constData()) == 0;
}

bool LocalFileOperations::copy(const QString& from, const QString& to) {
    const int descriptor = openRegularFile(from);
    if (descriptor < 0) {
        return false;
    }
    QFile source;
    if (!source.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return false;
    }
    const std::unique_ptr<ReplacementFile> replacement = createReplacement(to);
    if (!replacement) {
        return false;
    }
    QFile target(replacement->writableName());
    bool copied = target.open(QIODevice::WriteOnly);
    while (copied && !source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        copied = !block.isEmpty() && target.write(block) == block.size();
    }
    copied = copied && target.flush() && ::fsync(target.handle()) == 0;
    target.close();
    return copied && replacement->commit();
}
