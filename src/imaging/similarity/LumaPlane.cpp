#include "imaging/similarity/LumaPlane.h"

#include "imaging/bmp/TBitmap.h"

namespace {

// Rows of 3 or 4 bytes per pixel, blue first, are read in place.
void fromRows(const TBitmap& bitmap, int bytesPerPixel, LumaPlane& plane) {
    std::uint8_t* out = plane.values.data();
    for (int y = 0; y < plane.height; ++y) {
        const std::uint8_t* row = bitmap.scanLine(y);
        for (int x = 0; x < plane.width; ++x, row += bytesPerPixel) {
            *out++ = LumaPlane::luma(row[2], row[1], row[0]);
        }
    }
}

// Any other format goes through the bitmap's own conversion to 4 bytes per pixel.
void fromConverted(const TBitmap& bitmap, LumaPlane& plane) {
    const std::size_t count = plane.values.size();
    std::vector<std::uint8_t> bgra(count * 4);
    bitmap.copyToBgra32(bgra.data(), static_cast<std::ptrdiff_t>(plane.width) * 4);
    for (std::size_t i = 0; i < count; ++i) {
        plane.values[i] = LumaPlane::luma(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]);
    }
}

} // namespace

LumaPlane LumaPlane::of(const TBitmap& bitmap) {
    LumaPlane plane;
    if (bitmap.empty() || bitmap.width() <= 0 || bitmap.height() <= 0) {
        return plane;
    }
    plane.width = bitmap.width();
    plane.height = bitmap.height();
    plane.values.resize(static_cast<std::size_t>(plane.width) *
                        static_cast<std::size_t>(plane.height));
    switch (bitmap.pixelFormat()) {
    case TPixelFormat::Bits24:
        fromRows(bitmap, 3, plane);
        break;
    case TPixelFormat::Bits32:
    case TPixelFormat::Device:
        fromRows(bitmap, 4, plane);
        break;
    default:
        fromConverted(bitmap, plane);
        break;
    }
    return plane;
}
