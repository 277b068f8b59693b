#include "imaging/resample/ResizeTarget.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

ResizeTarget ResizeTarget::of(PixelSize picture, int longestSide) {
    if (picture.width <= 0 || picture.height <= 0) {
        throw std::invalid_argument("a picture to resize needs a width and a height");
    }
    const int longest = std::max(picture.width, picture.height);
    if (longestSide <= 0 || longest <= longestSide) {
        return {picture, false};
    }
    // other * limit / longest, rounded half up in integers, so no size is off by float error.
    const auto scaled = [&](int side) {
        const std::int64_t twice = 2 * std::int64_t{side} * longestSide + longest;
        return std::max(1, static_cast<int>(twice / (2 * std::int64_t{longest})));
    };
    return {{scaled(picture.width), scaled(picture.height)}, true};
}
