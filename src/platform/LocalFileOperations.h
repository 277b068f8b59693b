#pragma once

#include "platform/FileOperations.h"

// The file operations on this machine's file system.
class LocalFileOperations : public FileOperations {
public:
    std::optional<qint64> fileSize(const QString& path) override;
    bool exists(const QString& path) override;
    std::optional<FileIdentity> identity(const QString& path) override;
    bool sameFile(const QString& first, const QString& second) override;
    std::unique_ptr<ReplacementFile> createReplacement(const QString& target) override;
    std::optional<QString> createFolderBeside(const QString& target) override;
    std::error_code createFolders(const QString& path) override;
    bool removeFolder(const QString& path) override;
    bool replace(const QString& from, const QString& to) override;
    bool renameNew(const QString& from, const QString& to) override;
    bool remove(const QString& path) override;
    bool copy(const QString& from, const QString& to) override;
};
