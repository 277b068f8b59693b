#include "imaging/TBitmapRotation.h"

#include "imaging/TBitmap.h"

#include <cstdint>
#include <cstring>
#include <vector>

void rotateClockwise(const TBitmap& source, TBitmap& destination,
                     const std::function<void(int column)>& afterColumn) {
    const int width = source.width();
    const int height = source.height();
    // Every source format read once as blue, green, red, 255, top row first.
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    source.copyToBgra32(reinterpret_cast<std::uint8_t*>(pixels.data()),
                        static_cast<std::ptrdiff_t>(width) * 4);
    destination.setPixelFormat(TPixelFormat::Device);
    destination.setSize(height, width);
    // Source column x is destination row x, read from the bottom of the column up.
    for (int x = 0; x < width; ++x) {
        auto* row = reinterpret_cast<std::uint32_t*>(destination.scanLine(x));
        const std::uint32_t* below =
            pixels.data() + static_cast<std::size_t>(height - 1) * width + x;
        for (int y = 0; y < height; ++y, below -= width) {
            row[y] = *below & 0x00FFFFFF; // the device format's fourth byte stays 0
        }
        if (afterColumn) {
            afterColumn(x);
        }
    }
}
