#include "imaging/bmp/TBitmapImage.h"

#include "imaging/bmp/TMaskLayout.h"
#include "imaging/picture/EInvalidGraphic.h"

#include <algorithm>

int TBitmapImage::bitCountOf(TPixelFormat format) {
    switch (format) {
    case TPixelFormat::Bits1:
        return 1;
    case TPixelFormat::Bits4:
        return 4;
    case TPixelFormat::Bits8:
        return 8;
    case TPixelFormat::Bits15:
    case TPixelFormat::Bits16:
        return 16;
    case TPixelFormat::Bits24:
        return 24;
    case TPixelFormat::Device:
    case TPixelFormat::Bits32:
    case TPixelFormat::Custom:
        break;
    }
    return 32;
}

void TBitmapImage::setFormat(TPixelFormat newFormat) {
    format = newFormat;
    bitFields = newFormat == TPixelFormat::Bits16;
    if (newFormat == TPixelFormat::Bits15) {
        masks = TMaskLayout::masks555;
    } else if (newFormat == TPixelFormat::Bits16) {
        masks = TMaskLayout::masks565;
    } else {
        masks = TMaskLayout::masks888;
    }
}

int TBitmapImage::bitCount() const {
    return format == TPixelFormat::Custom ? customBitCount : bitCountOf(format);
}

std::size_t TBitmapImage::strideFor(std::int64_t width, int bitCount) {
    return static_cast<std::size_t>((width * bitCount + 31) / 32 * 4);
}

std::int64_t TBitmapImage::pixelBytes(std::int64_t width, std::int64_t height, int bitCount) {
    return static_cast<std::int64_t>(strideFor(width, bitCount)) * height;
}

void TBitmapImage::checkSize(std::int64_t width, std::int64_t height, int bitCount) {
    // The row test comes first: it keeps the product below in range.
    if (width < 0 || height < 0 || pixelBytes(width, 1, 32) > MaximumPixelBytes ||
        pixelBytes(width, height, bitCount) > MaximumPixelBytes) {
        throw EInvalidGraphic();
    }
}

void TBitmapImage::allocate(int newWidth, int newHeight, bool cleared) {
    checkSize(newWidth, newHeight, bitCount());
    width = newWidth;
    height = newHeight;
    pixels = {}; // the old rows are given back before the new ones are taken
    const std::size_t rowBytes = stride();
    pixels = decltype(pixels)(newWidth == 0 ? 0 : rowBytes * static_cast<std::size_t>(newHeight),
                              PixelAllocator<std::uint8_t>(cleared));
    // The padding is written to files as it is: never left to chance.
    const std::size_t used = (static_cast<std::size_t>(newWidth) * bitCount() + 7) / 8;
    if (!cleared && used < rowBytes) {
        for (std::size_t offset = used; offset < pixels.size(); offset += rowBytes) {
            std::fill_n(pixels.begin() + static_cast<std::ptrdiff_t>(offset), rowBytes - used, 0);
        }
    }
}

std::uint8_t* TBitmapImage::row(int row) {
    return const_cast<std::uint8_t*>(static_cast<const TBitmapImage*>(this)->row(row));
}

const std::uint8_t* TBitmapImage::row(int row) const {
    const int stored = topDown ? row : height - 1 - row;
    return pixels.data() + static_cast<std::size_t>(stored) * stride();
}

std::ptrdiff_t TBitmapImage::rowStep() const {
    const auto step = static_cast<std::ptrdiff_t>(stride());
    return topDown ? step : -step;
}
