#include "imaging/bmp/TBitmapRotation.h"

#include "imaging/bmp/TBitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Source columns turned together: each source row is read once per band, and the band's
// destination rows stay in the cache while they fill. Within a band, Tile source rows are
// turned at once, and the memory of the tile Ahead rows further is asked for meanwhile.
constexpr int Band = 64;
constexpr int Tile = 8;
constexpr int Ahead = 4 * Tile;
static_assert(Tile == 8, "the unrolled loop of turnBand is written for tiles of 8 rows");

// A pixel of a source row as 0x00RRGGBB, for rows of 3 or of 4 bytes a pixel. `Wide` reads
// the 3 bytes with one 4-byte load: only where a byte of the row follows the pixel.
template <int Bytes, bool Wide> std::uint32_t pixelAt(const std::uint8_t* row, int x) {
    const std::uint8_t* p = row + Bytes * x;
    if constexpr (Bytes == 4 || Wide) {
        std::uint32_t word;
        std::memcpy(&word, p, 4);
        return word & 0x00FFFFFFu;
    } else {
        return p[0] | (p[1] << 8) | (std::uint32_t{p[2]} << 16);
    }
}

// Asks for the band's part of a tile's rows: they lie a whole row apart, too far for the
// processor to guess that they come next.
template <int Bytes> void prefetch(const std::uint8_t* const* rows, int first, int count) {
    for (int j = 0; j < Tile; ++j) {
        const std::uint8_t* start = rows[j] + Bytes * first;
        for (int offset = 0; offset < Bytes * count; offset += 64) {
            __builtin_prefetch(start + offset);
        }
    }
}

// Turns one band of source columns [first, first + count) into destination rows. A tile
// gives each destination row Tile neighbouring pixels at once.
template <int Bytes, bool Wide>
void turnBand(const std::uint8_t* const* sourceRows, int height, int first, int count,
              std::uint32_t* const* band) {
    int y = 0;
    for (; y + Tile <= height; y += Tile) {
        const std::uint8_t* const* rows = sourceRows + y;
        const int column = height - Tile - y; // destination of the tile's bottom row
        if (y + Ahead + Tile <= height) {
            prefetch<Bytes>(sourceRows + y + Ahead, first, count);
            for (int k = 0; k < count; ++k) {
                __builtin_prefetch(band[k] + column - Ahead, 1);
            }
        }
        // The tile's rows at the band's first column, held in registers across the band.
        const std::uint8_t* starts[Tile];
        for (int j = 0; j < Tile; ++j) {
            starts[j] = rows[j] + Bytes * first;
        }
        for (int k = 0; k < count; ++k) {
            std::uint32_t* out = band[k] + column;
#pragma GCC unroll 8 // Tile
            for (int j = 0; j < Tile; ++j) {
                out[Tile - 1 - j] = pixelAt<Bytes, Wide>(starts[j], k);
            }
        }
    }
    for (; y < height; ++y) {
        const int column = height - 1 - y;
        for (int k = 0; k < count; ++k) {
            band[k][column] = pixelAt<Bytes, Wide>(sourceRows[y], first + k);
        }
    }
}

} // namespace

void rotateClockwise(const TBitmap& source, TBitmap& destination,
                     const std::function<void(int column)>& afterColumn) {
    const int width = source.width();
    const int height = source.height();
    const TPixelFormat format = source.pixelFormat();
    const bool direct = format == TPixelFormat::Bits24 || format == TPixelFormat::Bits32 ||
                        format == TPixelFormat::Device;
    // Other formats are read once as blue, green, red, 255, top row first.
    std::vector<std::uint8_t> converted;
    std::vector<const std::uint8_t*> sourceRows(static_cast<std::size_t>(height));
    if (!direct) {
        converted.resize(static_cast<std::size_t>(width) * height * 4);
        source.copyToBgra32(converted.data(), static_cast<std::ptrdiff_t>(width) * 4);
    }
    for (int y = 0; y < height; ++y) {
        sourceRows[static_cast<std::size_t>(y)] =
            direct ? source.scanLine(y)
                   : converted.data() + static_cast<std::size_t>(y) * width * 4;
    }
    const bool threeBytes = format == TPixelFormat::Bits24;
    destination.setPixelFormat(TPixelFormat::Device);
    destination.setSizeToOverwrite(height, width);
    // Source column x is destination row x, filled from the bottom of the column up; the
    // device format's fourth byte stays 0.
    std::uint32_t* band[Band];
    for (int first = 0; first < width; first += Band) {
        const int count = std::min(Band, width - first);
        for (int k = 0; k < count; ++k) {
            band[k] = reinterpret_cast<std::uint32_t*>(destination.scanLine(first + k));
        }
        if (!threeBytes) {
            turnBand<4, true>(sourceRows.data(), height, first, count, band);
        } else if (first + count < width) {
            turnBand<3, true>(sourceRows.data(), height, first, count, band);
        } else {
            // The last pixel of a row may end its row and the whole picture.
            turnBand<3, true>(sourceRows.data(), height, first, count - 1, band);
            turnBand<3, false>(sourceRows.data(), height, width - 1, 1, band + count - 1);
        }
        for (int k = 0; afterColumn && k < count; ++k) {
            afterColumn(first + k);
        }
    }
}
