#include "platform/LocalReplacementFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Enough of the target's name to tell what a left-over file was, and no more, so the
// hidden name stays within the file system's limit whatever the target's length.
constexpr qsizetype KeptNameLength = 48;
constexpr int MostNameAttempts = 100;

QByteArray descriptorName(int descriptor) {
    return "/proc/self/fd/" + QByteArray::number(descriptor);
}

// The permissions of the file a replacement goes over, if there is one.
std::optional<mode_t> targetMode(const QByteArray& target) {
    struct stat status {};
    if (::stat(target.constData(), &status) != 0) {
        return std::nullopt;
    }
    return status.st_mode & 07777;
}

// A new file gets the usual permissions, which the kernel takes from 0666 through the
// user's umask (never changed here: other threads create files meanwhile). A file that
// replaces another starts private and takes the other's permissions at the commit.
mode_t creationMode(const QByteArray& target) {
    return targetMode(target) ? 0600 : 0666;
}

int createUnnamed(const QByteArray& folder, mode_t mode) {
    const int descriptor = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (descriptor >= 0 && ::access(descriptorName(descriptor).constData(), W_OK) != 0) {
        ::close(descriptor); // no /proc to write it through
        return -1;
    }
    return descriptor;
}

QByteArray randomSuffix() {
    return "." + QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

} // namespace

QByteArray LocalReplacementFile::hiddenNameBeside(const QString& target, const QByteArray& suffix) {
    const QFileInfo info(target);
    QString start = info.fileName().left(KeptNameLength);
    if (!start.isEmpty() && start.back().isHighSurrogate()) {
        start.chop(1);
    }
    return QFile::encodeName(info.absolutePath() + "/." + start) + suffix;
}

std::unique_ptr<LocalReplacementFile> LocalReplacementFile::create(const QString& target) {
    const mode_t mode = creationMode(QFile::encodeName(target));
    const int unnamed = createUnnamed(QFile::encodeName(QFileInfo(target).absolutePath()), mode);
    if (unnamed >= 0) {
        return std::unique_ptr<LocalReplacementFile>(new LocalReplacementFile(target, unnamed, {}));
    }
    for (int attempt = 0; attempt < MostNameAttempts; ++attempt) {
        const QByteArray name = hiddenNameBeside(target, randomSuffix());
        const int named = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (named >= 0) {
            ::close(named);
            return std::unique_ptr<LocalReplacementFile>(
                new LocalReplacementFile(target, -1, name));
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

LocalReplacementFile::LocalReplacementFile(const QString& target, int descriptor,
                                           QByteArray namedFile)
    : targetName_(target), target_(QFile::encodeName(target)), descriptor_(descriptor),
      namedFile_(std::move(namedFile)) {}

LocalReplacementFile::~LocalReplacementFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_); // an unnamed file that was never linked goes with it
    }
    if (!namedFile_.isEmpty() && !committed_) {
        ::unlink(namedFile_.constData());
    }
}

QString LocalReplacementFile::writableName() const {
    return QFile::decodeName(descriptor_ >= 0 ? descriptorName(descriptor_) : namedFile_);
}

bool LocalReplacementFile::commit() {
    if (committed_) {
        return false;
    }
    const std::optional<mode_t> mode = targetMode(target_);
    if (descriptor_ < 0) {
        committed_ = (!mode || ::chmod(namedFile_.constData(), *mode) == 0) &&
                     ::rename(namedFile_.constData(), target_.constData()) == 0;
        return committed_;
    }
    if (::fsync(descriptor_) != 0 || (mode && ::fchmod(descriptor_, *mode) != 0)) {
        return false;
    }
    // A link cannot replace a file, so the complete file gets a hidden name first, which a
    // rename then puts over the target in one step.
    for (int attempt = 0; attempt < MostNameAttempts; ++attempt) {
        const QByteArray name = hiddenNameBeside(targetName_, randomSuffix());
        if (linkUnnamed(name)) {
            committed_ = ::rename(name.constData(), target_.constData()) == 0;
            if (!committed_) {
                ::unlink(name.constData());
            }
            return committed_;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

bool LocalReplacementFile::linkUnnamed(const QByteArray& name) const {
    return ::linkat(AT_FDCWD, descriptorName(descriptor_).constData(), AT_FDCWD, name.constData(),
                    AT_SYMLINK_FOLLOW) == 0;
}
