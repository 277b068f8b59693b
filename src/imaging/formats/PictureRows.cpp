#include "imaging/formats/PictureRows.h"

#include "imaging/bmp/TBitmap.h"
#include "imaging/formats/EPictureFile.h"
#include "imaging/formats/PictureReadOptions.h"

void PictureRows::checkSize(std::uint64_t width, std::uint64_t height, const std::string& kind) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (width == 0 || height == 0) {
        throw EPictureFile("not a valid " + kind + " file", "a picture of " + size);
    }
    if (width > PictureReadOptions::MostPixels / height) {
        throw EPictureFile("not a valid " + kind + " file",
                           "a picture of " + size + ", more than the " +
                               std::to_string(PictureReadOptions::MostPixels / 1000000) +
                               " megapixels a picture may have");
    }
}

void PictureRows::allocate(TBitmap& pixels, std::uint64_t width, std::uint64_t height,
                           const std::string& kind) {
    checkSize(width, height, kind);
    pixels.setPixelFormat(TPixelFormat::Bits24);
    pixels.setSizeToOverwrite(static_cast<int>(width), static_cast<int>(height), true);
}

void PictureRows::putRgb(TBitmap& pixels, int y, const std::uint8_t* rgb) {
    std::uint8_t* out = pixels.scanLine(y);
    for (int x = 0; x < pixels.width(); ++x, rgb += 3, out += 3) {
        out[0] = rgb[2];
        out[1] = rgb[1];
        out[2] = rgb[0];
    }
}

void PictureRows::putRgba(TBitmap& pixels, int y, const std::uint8_t* rgba,
                          std::uint32_t background) {
    const int back[3] = {static_cast<int>(background >> 16 & 0xFF),
                         static_cast<int>(background >> 8 & 0xFF),
                         static_cast<int>(background & 0xFF)}; // blue, green, red
    std::uint8_t* out = pixels.scanLine(y);
    for (int x = 0; x < pixels.width(); ++x, rgba += 4, out += 3) {
        const int alpha = rgba[3];
        for (int c = 0; c < 3; ++c) {
            // Rounded to the nearest level: a + (b - a) * alpha / 255.
            const int value = rgba[2 - c] * alpha + back[c] * (255 - alpha);
            out[c] = static_cast<std::uint8_t>((value + 127) / 255);
        }
    }
}
