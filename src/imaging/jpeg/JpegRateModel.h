#pragma once

#include <array>
#include <cstdint>

// What an AC symbol (run of zeros and size of the next coefficient, as the entropy coder
// writes it) costs in bits, learnt from the symbols of a first pass over the picture: the
// optimised Huffman tables give each symbol about -log2 of its share.
class JpegRateModel {
public:
    static constexpr int EndOfBlock = 0x00;
    static constexpr int ZeroRun = 0xF0; // sixteen zeros

    // Counts the symbols of one quantised block (natural order).
    void count(const std::int16_t* block);
    void add(const JpegRateModel& other);
    // Turns the counts into costs; before, every symbol costs the same.
    void learn();

    // Bits of the symbol alone, without the coefficient's own bits that follow it.
    float bits(int symbol) const { return bits_[static_cast<std::size_t>(symbol)]; }
    // Bits of a run of `run` zeros followed by a coefficient of `size` bits, all told.
    float runBits(int run, int size) const {
        return static_cast<float>(run >> 4) * bits_[ZeroRun] + bits((run & 15) << 4 | size) +
               static_cast<float>(size);
    }

    // Number of bits that hold `magnitude` (its JPEG size category).
    static int sizeOf(int magnitude);

private:
    std::array<std::uint64_t, 256> counts_{};
    std::array<float, 256> bits_ = filled(8.0f);

    static std::array<float, 256> filled(float value) {
        std::array<float, 256> result{};
        result.fill(value);
        return result;
    }
};
