#pragma once

#include <QString>
#include <optional>

// The file-system calls the windows make besides reading and writing pictures.
class FileOperations {
public:
    virtual ~FileOperations() = default;

    // The size in bytes of the file at `path`, or nothing when it cannot be opened for reading.
    virtual std::optional<qint64> fileSize(const QString& path) = 0;
};
