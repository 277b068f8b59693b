#pragma once

#include "imaging/bmp/TBitmapImage.h"
#include "imaging/bmp/TColourMatcher.h"
#include "imaging/bmp/TMaskLayout.h"

#include <cstdint>
#include <memory>

// Stores colours into the pixels of an image in any format; formats with a colour table
// take the closest entry.
class TRowWriter {
public:
    explicit TRowWriter(TBitmapImage& image);

    // Picture row `row` (0 = top) from blue, green, red, unused for each pixel.
    void write(int row, const std::uint8_t* bgra);
    // `colour` is red + 256 * green + 65536 * blue; x and y must lie in the picture.
    void setPixel(int x, int y, std::uint32_t colour);

private:
    void put(std::uint8_t* row, int x, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    std::uint8_t index(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    void putWord(std::uint8_t* row, int x, std::uint32_t word) const;

    TBitmapImage& image_;
    TMaskLayout layout_;
    // Made for whole rows of a table format; single pixels search the table directly.
    std::unique_ptr<TColourMatcher> matcher_;
};
