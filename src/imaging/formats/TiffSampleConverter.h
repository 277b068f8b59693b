#pragma once

#include "imaging/formats/TiffLayout.h"

#include <array>
#include <cstdint>
#include <vector>

class TiffHandle;

// Turns a stored row of grey, palette or RGB samples of any depth TiffLayout reads as stored
// into 8-bit red, green, blue: and alpha when the file's transparency is straight, or already
// laid on the background when it is premultiplied.
class TiffSampleConverter {
public:
    // Reads the colour map of a palette picture; EPictureFile when it has none.
    TiffSampleConverter(const TiffHandle& handle, const TiffLayout& layout,
                        std::uint32_t background);

    // 4 when the rows keep a straight alpha for PictureRows::putRgba, else 3.
    int channels() const { return layout_.alpha == TiffLayout::Alpha::Straight ? 4 : 3; }
    void convert(const std::uint8_t* stored, std::uint8_t* out) const;

private:
    std::uint32_t raw(const std::uint8_t* stored, std::uint64_t index) const;
    std::uint8_t level(std::uint32_t raw) const;
    void colour(const std::uint8_t* stored, std::uint64_t first, std::uint8_t* out) const;
    void readColourMap(const TiffHandle& handle);

    const TiffLayout& layout_;
    std::uint32_t background_;
    // The palette's colours, 8 bits each.
    std::vector<std::array<std::uint8_t, 3>> colourMap_;
};
