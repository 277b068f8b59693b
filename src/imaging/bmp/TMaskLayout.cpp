#include "imaging/bmp/TMaskLayout.h"

#include <bit>

TMaskLayout::TMaskLayout(const std::array<std::uint32_t, 3>& masks) {
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t mask = masks[i];
        if (mask == 0) {
            continue;
        }
        channels_[i].shift = std::countr_zero(mask);
        // A mask with holes counts up to its highest bit.
        channels_[i].bits = std::bit_width(mask >> channels_[i].shift);
    }
}

std::uint8_t TMaskLayout::channel(std::uint32_t word, int channel) const {
    const Channel& c = channels_[channel];
    if (c.bits == 0) {
        return 0;
    }
    const std::uint32_t value = (word >> c.shift) & ((std::uint64_t{1} << c.bits) - 1);
    if (c.bits >= 8) {
        return static_cast<std::uint8_t>(value >> (c.bits - 8));
    }
    // Repeating the bits makes the largest value 255 and 0 stay 0.
    std::uint32_t result = 0;
    for (int filled = 0; filled < 8; filled += c.bits) {
        result |= (value << (8 - c.bits)) >> filled;
    }
    return static_cast<std::uint8_t>(result);
}

std::uint32_t TMaskLayout::encode(std::uint8_t value, const Channel& channel) const {
    if (channel.bits == 0) {
        return 0;
    }
    std::uint32_t scaled = 0;
    if (channel.bits <= 8) {
        scaled = value >> (8 - channel.bits);
    } else {
        const std::uint64_t largest = (std::uint64_t{1} << channel.bits) - 1;
        scaled = static_cast<std::uint32_t>((value * largest + 127) / 255);
    }
    return scaled << channel.shift;
}

std::uint32_t TMaskLayout::word(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const {
    return encode(red, channels_[0]) | encode(green, channels_[1]) | encode(blue, channels_[2]);
}
