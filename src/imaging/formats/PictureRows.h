#pragma once

#include <cstdint>
#include <string>

class TBitmap;

// What every reader of PNG, WebP, TIFF or HEIF files does with the rows its library hands
// out: a 24-bit picture sized once the bound is checked, rows put in as blue, green, red,
// and transparency laid on the background.
class PictureRows {
public:
    // Refuses with EPictureFile a picture of more than PictureReadOptions::MostPixels, or of
    // no pixel; `kind` names the file's kind ("PNG") in the message.
    static void checkSize(std::uint64_t width, std::uint64_t height, const std::string& kind);
    // Sizes `pixels` as a 24-bit top-down picture to be filled row by row. A picture of more
    // than PictureReadOptions::MostPixels, or of no pixel, is refused with EPictureFile
    // before anything is allocated.
    static void allocate(TBitmap& pixels, std::uint64_t width, std::uint64_t height,
                         const std::string& kind);
    // Row `y` from red, green, blue bytes.
    static void putRgb(TBitmap& pixels, int y, const std::uint8_t* rgb);
    // Row `y` from red, green, blue, alpha bytes (alpha not premultiplied), laid on
    // `background` (red + 256 * green + 65536 * blue).
    static void putRgba(TBitmap& pixels, int y, const std::uint8_t* rgba, std::uint32_t background);
};
