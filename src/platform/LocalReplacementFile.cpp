#include "platform/LocalReplacementFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Enough of the target's name to tell what a left-over file was, and no more, so the
// hidden name stays within the file system's limit whatever the target's length.
constexpr qsizetype KeptNameLength = 48;
constexpr int MostLinkAttempts = 100;

QByteArray descriptorName(int descriptor) {
    return "/proc/self/fd/" + QByteArray::number(descriptor);
}

mode_t modeFor(const QByteArray& target) {
    struct stat status {};
    if (::stat(target.constData(), &status) == 0) {
        return status.st_mode & 07777; // a replacement keeps the target's permissions
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask; // the usual ones, not the private ones of a work file
}

int createUnnamed(const QByteArray& folder) {
    const int descriptor = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (descriptor >= 0 && ::access(descriptorName(descriptor).constData(), W_OK) != 0) {
        ::close(descriptor); // no /proc to write it through
        return -1;
    }
    return descriptor;
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
    const int unnamed = createUnnamed(QFile::encodeName(QFileInfo(target).absolutePath()));
    if (unnamed >= 0) {
        return std::unique_ptr<LocalReplacementFile>(new LocalReplacementFile(target, unnamed, {}));
    }
    QByteArray pattern = hiddenNameBeside(target, ".XXXXXX");
    const int named = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (named < 0) {
        return nullptr;
    }
    ::close(named);
    return std::unique_ptr<LocalReplacementFile>(new LocalReplacementFile(target, -1, pattern));
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
    const mode_t mode = modeFor(target_);
    if (descriptor_ < 0) {
        committed_ = ::chmod(namedFile_.constData(), mode) == 0 &&
                     ::rename(namedFile_.constData(), target_.constData()) == 0;
        return committed_;
    }
    if (::fsync(descriptor_) != 0 || ::fchmod(descriptor_, mode) != 0) {
        return false;
    }
    // A link cannot replace a file, so the complete file gets a hidden name first, which a
    // rename then puts over the target in one step.
    for (int attempt = 0; attempt < MostLinkAttempts; ++attempt) {
        const QByteArray name = hiddenNameBeside(
            targetName_, "." + QByteArray::number(QRandomGenerator::global()->generate(), 36));
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
