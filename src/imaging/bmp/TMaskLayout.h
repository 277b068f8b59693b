#pragma once

#include <array>
#include <cstdint>

// Where red, green and blue sit in a pixel word described by bit-field masks.
class TMaskLayout {
public:
    TMaskLayout() = default;
    explicit TMaskLayout(const std::array<std::uint32_t, 3>& masks);

    // Channel 0 = red, 1 = green, 2 = blue, scaled to 0..255.
    std::uint8_t channel(std::uint32_t word, int channel) const;
    std::uint32_t word(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const;

    static constexpr std::array<std::uint32_t, 3> masks555{0x7C00, 0x03E0, 0x001F};
    static constexpr std::array<std::uint32_t, 3> masks565{0xF800, 0x07E0, 0x001F};
    static constexpr std::array<std::uint32_t, 3> masks888{0xFF0000, 0x00FF00, 0x0000FF};

private:
    struct Channel {
        int shift = 0;
        int bits = 0;
    };
    std::uint32_t encode(std::uint8_t value, const Channel& channel) const;

    std::array<Channel, 3> channels_{};
};
