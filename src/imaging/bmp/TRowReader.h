#pragma once

#include "imaging/bmp/TBitmapImage.h"
#include "imaging/bmp/TMaskLayout.h"

#include <array>
#include <cstdint>

// Reads the pixels of an image in any format as colours.
class TRowReader {
public:
    explicit TRowReader(const TBitmapImage& image);

    // Picture row `row` (0 = top) as blue, green, red, 255 for each pixel.
    void read(int row, std::uint8_t* bgra) const;

    // One pixel as red + 256 * green + 65536 * blue; x and y must lie in the picture.
    static std::uint32_t pixel(const TBitmapImage& image, int x, int y);

private:
    // The colour of pixel x of a stored row, packed red + 256 * green + 65536 * blue.
    static std::uint32_t colourAt(const TBitmapImage& image, const TMaskLayout& layout,
                                  const std::uint8_t* row, int x);
    static std::uint32_t tableColour(const TBitmapImage& image, unsigned index);
    void readIndexed8(const std::uint8_t* source, std::uint8_t* bgra) const;

    const TBitmapImage& image_;
    TMaskLayout layout_;
    std::array<std::uint32_t, 256> table_{};
};
