#include "imaging/TBitmapRotation.h"

#include "imaging/TBitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Source columns turned together: each source row is read once per band, and the band's
// destination rows stay in the cache while they fill.
constexpr int Band = 64;

// A pixel of a source row as 0x00RRGGBB, for rows of 3 or of 4 bytes a pixel.
template <int Bytes> std::uint32_t pixelAt(const std::uint8_t* row, int x) {
    const std::uint8_t* p = row + Bytes * x;
    return p[0] | (p[1] << 8) | (std::uint32_t{p[2]} << 16);
}

// Turns one band of source columns [first, first + count) into destination rows.
template <int Bytes>
void turnBand(const std::uint8_t* const* sourceRows, int height, int first, int count,
              std::uint32_t* const* band) {
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = sourceRows[y];
        const int column = height - 1 - y;
        for (int k = 0; k < count; ++k) {
            band[k][column] = pixelAt<Bytes>(row, first + k);
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
        if (threeBytes) {
            turnBand<3>(sourceRows.data(), height, first, count, band);
        } else {
            turnBand<4>(sourceRows.data(), height, first, count, band);
        }
        for (int k = 0; afterColumn && k < count; ++k) {
            afterColumn(first + k);
        }
    }
}
