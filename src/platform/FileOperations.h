#pragma once

#include "platform/FileIdentity.h"
#include "platform/ReplacementFile.h"

#include <QString>
#include <memory>
#include <optional>
#include <system_error>

// The file-system calls the windows make besides reading and writing pictures.
class FileOperations {
public:
    virtual ~FileOperations() = default;

    // The size in bytes of the file at `path`, or nothing when it is no regular file or cannot
    // be opened for reading.
    virtual std::optional<qint64> fileSize(const QString& path) = 0;
    virtual bool exists(const QString& path) = 0;
    // Nothing when the file is not there.
    virtual std::optional<FileIdentity> identity(const QString& path) = 0;
    // True when both names reach one file: the same text, or, for files that exist, the same
    // file reached through a link, a relative part or another letter case the file system
    // ignores.
    virtual bool sameFile(const QString& first, const QString& second) = 0;

    // A new empty file in the folder of `target`, for writing what will replace `target`;
    // nothing when the folder takes no new file.
    virtual std::unique_ptr<ReplacementFile> createReplacement(const QString& target) = 0;
    // A new empty hidden folder of a name of its own in the folder of `target`, for work
    // files that must end up renamed over `target`; nothing when the folder takes none.
    virtual std::optional<QString> createFolderBeside(const QString& target) = 0;
    // Makes the folder `path` and those above it that are missing; nothing, or the reason
    // it could not.
    virtual std::error_code createFolders(const QString& path) = 0;
    // Removes an empty folder.
    virtual bool removeFolder(const QString& path) = 0;
    // Renames over `to`, replacing a file of that name in one step.
    virtual bool replace(const QString& from, const QString& to) = 0;
    // Renames only when nothing of the name `to` exists.
    virtual bool renameNew(const QString& from, const QString& to) = 0;
    virtual bool remove(const QString& path) = 0;
    // Copies `from` to `to`, replacing a file of that name only once the copy is complete.
    virtual bool copy(const QString& from, const QString& to) = 0;
};
