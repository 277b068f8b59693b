#pragma once

#include "core/TStream.h"

#include <cstdint>
#include <string>
#include <vector>

// A stream over a file on disk, closed when the object goes away.
class TFileStream : public TStream {
public:
    enum class Mode {
        OpenRead, // existing file, read only; EFOpenError when it cannot be opened
        Create,   // created or truncated, write only; EFCreateError when it cannot be
    };

    TFileStream(const std::string& fileName, Mode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t read(void* buffer, std::size_t count) override;
    std::size_t write(const void* buffer, std::size_t count) override;
    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override;

    const std::string& fileName() const { return fileName_; }

    // Every byte of the file, for the readers whose library takes a file from memory.
    static std::vector<std::uint8_t> readWhole(const std::string& fileName);

private:
    std::string fileName_;
    int fd_ = -1;
};
