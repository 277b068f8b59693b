#include "platform/LocalFileOperations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
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

mode_t defaultMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::optional<qint64> LocalFileOperations::fileSize(const QString& path) {
    // Measured through an open handle, so a file that exists but cannot be read has no size.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.size();
}

bool LocalFileOperations::exists(const QString& path) {
    return status(path).has_value();
}

std::optional<FileIdentity> LocalFileOperations::identity(const QString& path) {
    const std::optional<struct stat> file = status(path);
    if (!file) {
        return std::nullopt;
    }
    return FileIdentity{file->st_dev, file->st_ino, file->st_size, file->st_mtim.tv_sec,
                        file->st_mtim.tv_nsec};
}

bool LocalFileOperations::sameFile(const QString& first, const QString& second) {
    if (first == second) {
        return true;
    }
    const std::optional<struct stat> a = status(first);
    const std::optional<struct stat> b = status(second);
    if (a && b) {
        return a->st_dev == b->st_dev && a->st_ino == b->st_ino;
    }
    // A file that is gone can still be named twice.
    return QDir::cleanPath(QFileInfo(first).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(second).absoluteFilePath());
}

std::optional<QString> LocalFileOperations::createFileBeside(const QString& target) {
    const QFileInfo info(target);
    // Hidden and named after the target, so a file left by a crash says what it was.
    QByteArray pattern =
        QFile::encodeName(info.absolutePath() + "/." + info.fileName() + ".XXXXXX");
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) {
        return std::nullopt;
    }
    // A replacement keeps the target's permissions; a new file gets the usual ones, not the
    // private ones of a temporary file.
    ::fchmod(descriptor, status(target) ? status(target)->st_mode & 07777 : defaultMode());
    ::close(descriptor);
    return QFile::decodeName(pattern);
}

bool LocalFileOperations::replace(const QString& from, const QString& to) {
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
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        return false;
    }
    const std::optional<QString> temporary = createFileBeside(to);
    if (!temporary) {
        return false;
    }
    QFile target(*temporary);
    bool copied = target.open(QIODevice::WriteOnly);
    while (copied && !source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        copied = !block.isEmpty() && target.write(block) == block.size();
    }
    copied = copied && target.flush() && ::fsync(target.handle()) == 0;
    target.close();
    copied = copied && replace(*temporary, to);
    if (!copied) {
        remove(*temporary);
    }
    return copied;
}
