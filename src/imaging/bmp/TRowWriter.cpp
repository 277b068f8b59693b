#include "imaging/bmp/TRowWriter.h"

namespace {

void setBits(std::uint8_t& byte, int shift, unsigned mask, unsigned value) {
    byte = static_cast<std::uint8_t>((byte & ~(mask << shift)) | ((value & mask) << shift));
}

} // namespace

TRowWriter::TRowWriter(TBitmapImage& image) : image_(image), layout_(image.masks) {}

std::uint8_t TRowWriter::index(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    if (!matcher_) {
        matcher_ =
            std::make_unique<TColourMatcher>(image_.colours, std::size_t{1} << image_.bitCount());
    }
    return matcher_->index(red, green, blue);
}

void TRowWriter::putWord(std::uint8_t* row, int x, std::uint32_t word) const {
    const int bytes = image_.bitCount() / 8;
    std::uint8_t* target = row + static_cast<std::size_t>(x) * bytes;
    for (int i = 0; i < bytes; ++i) {
        target[i] = static_cast<std::uint8_t>(word >> (8 * i));
    }
}

void TRowWriter::put(std::uint8_t* row, int x, std::uint8_t red, std::uint8_t green,
                     std::uint8_t blue) {
    switch (image_.format) {
    case TPixelFormat::Bits1:
        setBits(row[x >> 3], 7 - (x & 7), 1, index(red, green, blue));
        return;
    case TPixelFormat::Bits4:
        setBits(row[x >> 1], (x & 1) != 0 ? 0 : 4, 15, index(red, green, blue));
        return;
    case TPixelFormat::Bits8:
        row[x] = index(red, green, blue);
        return;
    case TPixelFormat::Bits24:
        row += static_cast<std::size_t>(x) * 3;
        row[0] = blue;
        row[1] = green;
        row[2] = red;
        return;
    case TPixelFormat::Device:
    case TPixelFormat::Bits32:
        putWord(row, x, blue | (green << 8) | (red << 16));
        return;
    case TPixelFormat::Bits15:
    case TPixelFormat::Bits16:
    case TPixelFormat::Custom:
        break;
    }
    putWord(row, x, layout_.word(red, green, blue));
}

void TRowWriter::setPixel(int x, int y, std::uint32_t colour) {
    put(image_.row(y), x, static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
        static_cast<std::uint8_t>(colour >> 16));
}

void TRowWriter::write(int row, const std::uint8_t* bgra) {
    std::uint8_t* target = image_.row(row);
    const int width = image_.width;
    switch (image_.format) {
    case TPixelFormat::Bits24:
        for (int x = 0; x < width; ++x, target += 3, bgra += 4) {
            target[0] = bgra[0];
            target[1] = bgra[1];
            target[2] = bgra[2];
        }
        return;
    case TPixelFormat::Device:
    case TPixelFormat::Bits32:
        for (int x = 0; x < width; ++x, target += 4, bgra += 4) {
            target[0] = bgra[0];
            target[1] = bgra[1];
            target[2] = bgra[2];
            target[3] = 0;
        }
        return;
    default:
        if (!matcher_ && image_.bitCount() <= 8) {
            matcher_ = std::make_unique<TColourMatcher>(image_.colours,
                                                        std::size_t{1} << image_.bitCount());
        }
        for (int x = 0; x < width; ++x, bgra += 4) {
            put(target, x, bgra[2], bgra[1], bgra[0]);
        }
    }
}
