#pragma once

#include <array>
#include <cstdint>

// The fields of a BMP file's picture header, whichever of its forms the file uses.
struct TBmpInfoHeader {
    static constexpr std::uint32_t coreSize = 12;
    static constexpr std::uint32_t infoSize = 40;
    static constexpr std::uint32_t rgb = 0;
    static constexpr std::uint32_t rle8 = 1;
    static constexpr std::uint32_t rle4 = 2;
    static constexpr std::uint32_t bitFields = 3;

    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t usedColours = 0;
    std::uint32_t importantColours = 0;
    std::array<std::uint32_t, 3> masks{};

    bool core() const { return size == coreSize; }
};
