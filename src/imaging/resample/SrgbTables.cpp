#include "imaging/resample/SrgbTables.h"

#include <cmath>
#include <limits>

namespace {

int nearestCode(float linear) {
    return static_cast<int>(std::floor(255.0 * SrgbTables::encode(linear) + 0.5));
}

} // namespace

const SrgbTables& SrgbTables::instance() {
    static const SrgbTables tables;
    return tables;
}

double SrgbTables::decode(double value) {
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double SrgbTables::encode(double linear) {
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

SrgbTables::SrgbTables() {
    for (int v = 0; v < 256; ++v) {
        linear_[static_cast<std::size_t>(v)] = static_cast<float>(decode(v / 255.0));
    }
    for (int k = 0; k < 255; ++k) {
        // Start from the curve's midpoint between k and k + 1, then move by single floats to
        // the first one that rounds above k.
        float t = static_cast<float>(decode((k + 0.5) / 255.0));
        while (nearestCode(t) <= k) {
            t = std::nextafter(t, 2.0f);
        }
        while (nearestCode(std::nextafter(t, -1.0f)) > k) {
            t = std::nextafter(t, -1.0f);
        }
        threshold_[static_cast<std::size_t>(k)] = t;
    }
    threshold_[255] = std::numeric_limits<float>::infinity();
    for (int i = 0; i <= FineSteps; ++i) {
        const float start = static_cast<float>(i) / FineSteps;
        int code = 0;
        while (code < 255 && start >= threshold_[static_cast<std::size_t>(code)]) {
            ++code;
        }
        coarse_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(code);
    }
}
