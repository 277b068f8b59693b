#pragma once

#include "imaging/bmp/TBitmapImage.h"
#include "imaging/picture/TPaletteEntry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Decodes the run-length encoded pixels of a 4- or 8-bit BMP file into a bottom-up image
// of 32 bits per pixel. Damaged data never writes outside the image: runs past the end of
// a row are cut, and the decoding stops at the end of the data or of the image. Pixels the
// data skips stay black.
class TRleDecoder {
public:
    TRleDecoder(const std::uint8_t* data, std::size_t size, bool fourBit,
                const std::vector<TPaletteEntry>& colours);

    void decode(TBitmapImage& target);

private:
    // The index of pixel `i` of a run or literal whose bytes start at `bytes`.
    std::uint8_t indexAt(const std::uint8_t* bytes, int i) const;
    void put(std::uint8_t index);
    void run(int count, std::uint8_t value);
    // False when the data ends before the escape's operands.
    bool escape(std::uint8_t code);
    void literal(int count);

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t next_ = 0;
    bool fourBit_;
    std::array<std::uint32_t, 256> colours_{};
    TBitmapImage* target_ = nullptr;
    int x_ = 0;
    int y_ = 0; // storage row, 0 = bottom
};
