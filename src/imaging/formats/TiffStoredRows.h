#pragma once

#include "imaging/formats/TiffLayout.h"

#include <cstdint>
#include <memory>

class TiffHandle;

// The rows of a TIFF file's first directory as stored, asked for in order from the top: a
// file in strips is read a row at a time, a tiled one a row of tiles at a time.
class TiffStoredRows {
public:
    TiffStoredRows(const TiffHandle& handle, const TiffLayout& layout);

    // Row `y`'s samples, valid until the next call; EPictureFile when libtiff cannot read it.
    const std::uint8_t* row(std::uint32_t y);

private:
    void readTiles(std::uint32_t top);
    void placeTile(std::uint32_t x, std::uint32_t rows);

    const TiffHandle& handle_;
    const TiffLayout& layout_;
    std::uint64_t rowBytes_ = 0;
    std::uint64_t tileBytes_ = 0;
    std::uint64_t tileRowBytes_ = 0;
    std::uint32_t bandTop_ = 0;
    std::uint32_t bandRows_ = 0;
    // Whole rows: one for strips, a row of tiles' height for tiles.
    std::unique_ptr<std::uint8_t[]> band_;
    std::unique_ptr<std::uint8_t[]> tile_;
};
