#pragma once

#include "platform/FileOperations.h"

// The file operations on this machine's file system.
class LocalFileOperations : public FileOperations {
public:
    std::optional<qint64> fileSize(const QString& path) override;
};
