#pragma once

#include "imaging/bmp/TBitmapImage.h"
#include "imaging/bmp/TBmpInfoHeader.h"
#include "imaging/picture/TPaletteEntry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class TStream;

// Reads one BMP file from a stream's position to its end. Every header field that decides
// an allocation is checked before anything is allocated: "Image bitmap incorrecte" for a
// header that cannot describe a picture, "Erreur de lecture du flux" for a file that ends
// before what its header announces.
class TBmpReader {
public:
    explicit TBmpReader(TStream& stream);

    // nullptr for an empty stream.
    std::shared_ptr<TBitmapImage> read();

private:
    // Bytes from the start of the file to the position, and from the position to the end.
    std::int64_t offset();
    std::int64_t remaining();
    void readFileHeader();
    void readInfoHeader();
    void readCoreFields();
    void readInfoFields();
    void validate() const;
    void readMasks();
    std::optional<std::int64_t> pixelOffset();
    std::uint32_t tableEntries(std::optional<std::int64_t> pixels);
    void readColourTable(std::optional<std::int64_t> pixels);
    TPixelFormat format() const;
    void describe(TBitmapImage& image) const;
    std::shared_ptr<TBitmapImage> readUncompressed();
    std::shared_ptr<TBitmapImage> readCompressed();

    TStream& stream_;
    std::int64_t start_ = 0;
    std::int64_t size_ = 0;
    std::uint32_t pixelOffset_ = 0;
    TBmpInfoHeader header_;
    std::vector<TPaletteEntry> colours_;
};
