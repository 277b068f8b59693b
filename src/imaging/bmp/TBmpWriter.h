#pragma once

#include "imaging/bmp/TBitmapImage.h"

#include <cstdint>
#include <vector>

class TStream;

// Writes an image as a BMP file: the kept bytes of a compressed file unchanged, otherwise
// the headers, the colour table and the rows as stored.
class TBmpWriter {
public:
    explicit TBmpWriter(const TBitmapImage& image);

    // An image without pixels writes nothing.
    void write(TStream& stream) const;

private:
    bool core() const;
    int bitCount() const;
    std::uint32_t compression() const;
    std::size_t tableEntries() const;
    std::uint32_t usedColoursField() const;
    std::uint32_t headerAndTableSize() const;
    std::vector<std::uint8_t> headers() const;
    void appendInfoHeader(std::vector<std::uint8_t>& out) const;
    void appendCoreHeader(std::vector<std::uint8_t>& out) const;
    void appendTable(std::vector<std::uint8_t>& out) const;

    const TBitmapImage& image_;
};
