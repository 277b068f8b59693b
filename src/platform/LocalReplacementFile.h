#pragma once

#include "platform/ReplacementFile.h"

#include <QByteArray>
#include <memory>

// A replacement file on this machine: an unnamed file in the target's folder (O_TMPFILE),
// written through its descriptor's name under /proc and linked in only once complete; where
// the file system has no unnamed files, a hidden file of a name of its own beside the target.
class LocalReplacementFile : public ReplacementFile {
public:
    // Nothing when the target's folder takes no new file.
    static std::unique_ptr<LocalReplacementFile> create(const QString& target);
    ~LocalReplacementFile() override;
    LocalReplacementFile(const LocalReplacementFile&) = delete;
    LocalReplacementFile& operator=(const LocalReplacementFile&) = delete;

    QString writableName() const override;
    bool commit() override;

    // "." and the start of the target's name, then `suffix`: hidden, and short enough for any
    // target name to leave room for it.
    static QByteArray hiddenNameBeside(const QString& target, const QByteArray& suffix);

private:
    LocalReplacementFile(const QString& target, int descriptor, QByteArray namedFile);
    bool linkUnnamed(const QByteArray& name) const;

    QString targetName_;
    QByteArray target_;
    int descriptor_ = -1;  // the unnamed file, open for as long as it is not linked
    QByteArray namedFile_; // the hidden file standing in for it
    bool committed_ = false;
};
