#include "imaging/formats/TiffSampleConverter.h"

#include "imaging/formats/PremultipliedAlpha.h"
#include "imaging/formats/SixteenBitSamples.h"
#include "imaging/formats/TiffHandle.h"

#include <algorithm>
#include <cstring>

TiffSampleConverter::TiffSampleConverter(const TiffHandle& handle, const TiffLayout& layout,
                                         std::uint32_t background)
    : layout_(layout), background_(background) {
    if (layout_.photometric == PHOTOMETRIC_PALETTE) {
        readColourMap(handle);
    }
}

void TiffSampleConverter::readColourMap(const TiffHandle& handle) {
    std::uint16_t* maps[3] = {};
    if (!TIFFGetField(handle.tiff(), TIFFTAG_COLORMAP, &maps[0], &maps[1], &maps[2])) {
        handle.fail("a palette picture without its colour map");
    }
    const std::size_t count = std::size_t{1} << layout_.bits;
    // Some old writers stored 8-bit levels in the 16-bit colour map.
    bool eightBits = true;
    for (const std::uint16_t* map : maps) {
        eightBits =
            eightBits && std::all_of(map, map + count, [](std::uint16_t v) { return v < 256; });
    }
    colourMap_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        for (int c = 0; c < 3; ++c) {
            colourMap_[i][c] = eightBits ? static_cast<std::uint8_t>(maps[c][i])
                                         : SixteenBitSamples::toEight(maps[c][i]);
        }
    }
}

std::uint32_t TiffSampleConverter::raw(const std::uint8_t* stored, std::uint64_t index) const {
    switch (layout_.bits) {
    case 8:
        return stored[index];
    case 16: {
        std::uint16_t value; // in the machine's order: libtiff turns the file's
        std::memcpy(&value, stored + 2 * index, sizeof value);
        return value;
    }
    default: { // 1, 2 or 4 bits, the first in the high bits of a byte
        const std::uint64_t bit = index * layout_.bits;
        const int shift = 8 - layout_.bits - static_cast<int>(bit % 8);
        return (stored[bit / 8] >> shift) & ((1u << layout_.bits) - 1);
    }
    }
}

std::uint8_t TiffSampleConverter::level(std::uint32_t raw) const {
    switch (layout_.bits) {
    case 8:
        return static_cast<std::uint8_t>(raw);
    case 16:
        return SixteenBitSamples::toEight(static_cast<std::uint16_t>(raw));
    default:
        return static_cast<std::uint8_t>(raw * 255 / ((1u << layout_.bits) - 1));
    }
}

void TiffSampleConverter::colour(const std::uint8_t* stored, std::uint64_t first,
                                 std::uint8_t* out) const {
    switch (layout_.photometric) {
    case PHOTOMETRIC_PALETTE:
        std::copy_n(colourMap_[raw(stored, first)].begin(), 3, out);
        return;
    case PHOTOMETRIC_RGB:
        for (int c = 0; c < 3; ++c) {
            out[c] = level(raw(stored, first + c));
        }
        return;
    default: {
        std::uint8_t grey = level(raw(stored, first));
        if (layout_.photometric == PHOTOMETRIC_MINISWHITE) {
            grey = static_cast<std::uint8_t>(255 - grey);
        }
        std::fill_n(out, 3, grey);
    }
    }
}

void TiffSampleConverter::convert(const std::uint8_t* stored, std::uint8_t* out) const {
    const int channels = this->channels();
    const bool premultiplied = layout_.alpha == TiffLayout::Alpha::Premultiplied;
    for (std::uint32_t x = 0; x < layout_.width; ++x, out += channels) {
        const std::uint64_t first = std::uint64_t{x} * layout_.samples;
        colour(stored, first, out);
        if (channels == 4 || premultiplied) {
            const std::uint8_t alpha = level(raw(stored, first + layout_.colours()));
            if (premultiplied) {
                PremultipliedAlpha::layOn(out, alpha, background_);
            } else {
                out[3] = alpha;
            }
        }
    }
}
