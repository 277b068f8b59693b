#include "imaging/similarity/StructuralSimilarity.h"

#include "imaging/similarity/LumaPlane.h"
#include "imaging/similarity/LumaRows.h"
#include "imaging/similarity/SimilarityReference.h"

#include <algorithm>
#include <stdexcept>

namespace {

void checkSizes(int firstWidth, int firstHeight, int secondWidth, int secondHeight) {
    if (firstWidth != secondWidth || firstHeight != secondHeight || firstWidth <= 0 ||
        firstHeight <= 0) {
        throw std::invalid_argument("planes of different or empty sizes");
    }
}

// The rows gathered into a plane, so the score can hand bands of them to several threads.
LumaPlane planeOf(LumaRows& rows) {
    LumaPlane plane;
    plane.width = rows.width();
    plane.height = rows.height();
    plane.values.resize(static_cast<std::size_t>(plane.width) *
                        static_cast<std::size_t>(plane.height));
    for (int y = 0; y < plane.height; ++y) {
        const std::uint8_t* row = rows.row(y);
        std::copy(row, row + plane.width,
                  plane.values.begin() + static_cast<std::ptrdiff_t>(y) * plane.width);
    }
    return plane;
}

} // namespace

std::optional<double> StructuralSimilarity::mean(const LumaPlane& first, const LumaPlane& second,
                                                 std::stop_token stop) {
    checkSizes(first.width, first.height, second.width, second.height);
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    return SimilarityReference(first).score(second, std::move(stop));
}

std::optional<double> StructuralSimilarity::mean(LumaRows& first, LumaRows& second,
                                                 std::stop_token stop) {
    checkSizes(first.width(), first.height(), second.width(), second.height());
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    return SimilarityReference(planeOf(first)).score(planeOf(second), std::move(stop));
}
