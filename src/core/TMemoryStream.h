#pragma once

#include "core/TStream.h"

#include <string>
#include <vector>

// A growable in-memory byte stream.
class TMemoryStream : public TStream {
public:
    std::size_t read(void* buffer, std::size_t count) override;
    std::size_t write(const void* buffer, std::size_t count) override;
    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t size() override { return static_cast<std::int64_t>(bytes_.size()); }

    // Grows with zeros or cuts; the position stays where it was, even past the end.
    void setSize(std::int64_t size);
    void clear();
    unsigned char* memory() { return bytes_.data(); }
    const unsigned char* memory() const { return bytes_.data(); }

    void loadFromStream(TStream& source);
    void loadFromFile(const std::string& fileName);
    void saveToFile(const std::string& fileName) const;

private:
    std::vector<unsigned char> bytes_;
    std::size_t position_ = 0;
};
