#pragma once

#include <cstdint>

struct TRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const TRect&, const TRect&) = default;
};
