#include "imaging/formats/TiffStoredRows.h"

#include "imaging/formats/TiffHandle.h"

#include <algorithm>
#include <cstring>

namespace {

// Every byte of the rows is written by a strip or a tile before it is read: nothing needs
// clearing first.
std::unique_ptr<std::uint8_t[]> buffer(std::uint64_t size) {
    return std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(size));
}

} // namespace

TiffStoredRows::TiffStoredRows(const TiffHandle& handle, const TiffLayout& layout)
    : handle_(handle), layout_(layout), rowBytes_(TIFFScanlineSize64(handle.tiff())) {
    if (rowBytes_ == 0) {
        handle_.fail("rows of no byte");
    }
    TiffHandle::checkAllocation(rowBytes_, "a row");
    if (!layout_.tiled) {
        band_ = buffer(rowBytes_);
        return;
    }
    tileBytes_ = TIFFTileSize64(handle.tiff());
    tileRowBytes_ = TIFFTileRowSize64(handle.tiff());
    if (tileBytes_ == 0 || tileRowBytes_ == 0) {
        handle_.fail("tiles of no byte");
    }
    TiffHandle::checkAllocation(tileBytes_, "a tile");
    bandRows_ = std::min(layout_.tileLength, layout_.height);
    TiffHandle::checkAllocation(rowBytes_ * bandRows_, "a row of tiles");
    band_ = buffer(rowBytes_ * bandRows_);
    tile_ = buffer(tileBytes_);
}

const std::uint8_t* TiffStoredRows::row(std::uint32_t y) {
    if (!layout_.tiled) {
        if (TIFFReadScanline(handle_.tiff(), band_.get(), y, 0) < 0) {
            handle_.fail("row " + std::to_string(y) + " cannot be read");
        }
        return band_.get();
    }
    if (y == 0 || y >= bandTop_ + bandRows_) {
        readTiles(y);
    }
    return band_.get() + rowBytes_ * (y - bandTop_);
}

void TiffStoredRows::readTiles(std::uint32_t top) {
    bandTop_ = top;
    const std::uint32_t rows = std::min(bandRows_, layout_.height - top);
    for (std::uint32_t x = 0; x < layout_.width; x += layout_.tileWidth) {
        if (TIFFReadTile(handle_.tiff(), tile_.get(), x, top, 0, 0) < 0) {
            handle_.fail("the tile at " + std::to_string(x) + ", " + std::to_string(top) +
                         " cannot be read");
        }
        placeTile(x, rows);
        if (layout_.width - x <= layout_.tileWidth) {
            break; // the last column of tiles; also ends before x overflows
        }
    }
}

void TiffStoredRows::placeTile(std::uint32_t x, std::uint32_t rows) {
    const std::uint64_t left = std::uint64_t{x} * layout_.samples * layout_.bits / 8;
    const std::uint64_t length = std::min(tileRowBytes_, rowBytes_ - left);
    for (std::uint32_t r = 0; r < rows; ++r) {
        std::memcpy(band_.get() + rowBytes_ * r + left, tile_.get() + tileRowBytes_ * r, length);
    }
}
