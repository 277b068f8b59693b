#pragma once

#include <array>
#include <cstdint>

// The sRGB transfer curve both ways, through tables built once and never changed after: 8-bit
// values to linear light, and linear light back to the nearest 8-bit value.
class SrgbTables {
public:
    static const SrgbTables& instance();

    // The exact curve: v / 12.92 up to v = 0.04045, ((v + 0.055) / 1.055)^2.4 above (v in 0..1).
    float toLinear(std::uint8_t value) const { return linear_[value]; }
    const float* linearTable() const { return linear_.data(); }

    // The 8-bit value whose curve value lies nearest `linear`, clamped to 0..255: exactly what
    // rounding 255 x the inverse curve in double precision gives, for every float.
    std::uint8_t toSrgb(float linear) const {
        if (!(linear > 0.0f)) {
            return 0;
        }
        if (linear >= 1.0f) {
            return 255;
        }
        // The fine table gives the value at the start of the cell; no cell holds two
        // thresholds, so one comparison finishes the rounding.
        const int code = coarse_[static_cast<int>(linear * FineSteps)];
        return static_cast<std::uint8_t>(code + (linear >= threshold_[code]));
    }

    // The curve in double precision, for the tables and for checks.
    static double decode(double value);
    static double encode(double linear);

    static constexpr int FineSteps = 4096;

private:
    SrgbTables();

    std::array<float, 256> linear_{};
    // threshold_[k]: the least float whose nearest 8-bit value is above k; +infinity for 255.
    std::array<float, 256> threshold_{};
    std::array<std::uint8_t, FineSteps + 1> coarse_{};
};
