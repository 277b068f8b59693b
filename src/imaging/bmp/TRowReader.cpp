#include "imaging/bmp/TRowReader.h"

#include "core/TLittleEndian.h"

namespace {

std::uint32_t packed(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return red | (green << 8) | (blue << 16);
}

void putBgra(std::uint8_t* bgra, std::uint32_t colour) {
    bgra[0] = static_cast<std::uint8_t>(colour >> 16);
    bgra[1] = static_cast<std::uint8_t>(colour >> 8);
    bgra[2] = static_cast<std::uint8_t>(colour);
    bgra[3] = 255;
}

} // namespace

TRowReader::TRowReader(const TBitmapImage& image) : image_(image), layout_(image.masks) {
    for (unsigned i = 0; i < table_.size(); ++i) {
        table_[i] = tableColour(image, i);
    }
}

std::uint32_t TRowReader::tableColour(const TBitmapImage& image, unsigned index) {
    // An index beyond the table shows black.
    if (index >= image.colours.size()) {
        return 0;
    }
    const TPaletteEntry& entry = image.colours[index];
    return packed(entry.red, entry.green, entry.blue);
}

std::uint32_t TRowReader::colourAt(const TBitmapImage& image, const TMaskLayout& layout,
                                   const std::uint8_t* row, int x) {
    switch (image.format) {
    case TPixelFormat::Bits1:
        return tableColour(image, (row[x >> 3] >> (7 - (x & 7))) & 1);
    case TPixelFormat::Bits4:
        return tableColour(image, (row[x >> 1] >> ((x & 1) != 0 ? 0 : 4)) & 15);
    case TPixelFormat::Bits8:
        return tableColour(image, row[x]);
    case TPixelFormat::Bits24:
        return packed(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
    case TPixelFormat::Device:
    case TPixelFormat::Bits32:
        return packed(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
    case TPixelFormat::Bits15:
    case TPixelFormat::Bits16:
    case TPixelFormat::Custom:
        break;
    }
    const std::uint32_t word = image.bitCount() == 16
                                   ? TLittleEndian::u16(row + x * 2)
                                   : TLittleEndian::u32(row + std::size_t(x) * 4);
    return packed(layout.channel(word, 0), layout.channel(word, 1), layout.channel(word, 2));
}

std::uint32_t TRowReader::pixel(const TBitmapImage& image, int x, int y) {
    return colourAt(image, TMaskLayout(image.masks), image.row(y), x);
}

void TRowReader::readIndexed8(const std::uint8_t* source, std::uint8_t* bgra) const {
    for (int x = 0; x < image_.width; ++x, bgra += 4) {
        putBgra(bgra, table_[source[x]]);
    }
}

void TRowReader::read(int row, std::uint8_t* bgra) const {
    const std::uint8_t* source = image_.row(row);
    const int width = image_.width;
    switch (image_.format) {
    case TPixelFormat::Bits8:
        readIndexed8(source, bgra);
        return;
    case TPixelFormat::Bits24:
        for (int x = 0; x < width; ++x, source += 3, bgra += 4) {
            bgra[0] = source[0];
            bgra[1] = source[1];
            bgra[2] = source[2];
            bgra[3] = 255;
        }
        return;
    case TPixelFormat::Device:
    case TPixelFormat::Bits32:
        for (int x = 0; x < width; ++x, source += 4, bgra += 4) {
            bgra[0] = source[0];
            bgra[1] = source[1];
            bgra[2] = source[2];
            bgra[3] = 255;
        }
        return;
    default:
        for (int x = 0; x < width; ++x, bgra += 4) {
            putBgra(bgra, colourAt(image_, layout_, source, x));
        }
    }
}
