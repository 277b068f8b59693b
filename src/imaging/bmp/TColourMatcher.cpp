#include "imaging/bmp/TColourMatcher.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

constexpr int cubeBits = 3;
constexpr int cubeSide = 1 << cubeBits;

int distance(const TPaletteEntry& entry, int red, int green, int blue) {
    const int dr = entry.red - red;
    const int dg = entry.green - green;
    const int db = entry.blue - blue;
    return dr * dr + dg * dg + db * db;
}

// Squared distances from a value to the nearest and the farthest point of [low, low + 7].
int nearestGap(int value, int low) {
    const int gap = value < low ? low - value : std::max(0, value - (low + cubeSide - 1));
    return gap * gap;
}

int farthestGap(int value, int low) {
    const int gap = std::max(std::abs(value - low), std::abs(value - (low + cubeSide - 1)));
    return gap * gap;
}

} // namespace

TColourMatcher::TColourMatcher(const std::vector<TPaletteEntry>& colours, std::size_t limit)
    : colours_(colours), count_(std::min(colours.size(), std::min<std::size_t>(limit, 256))),
      cubes_(std::size_t{1} << (3 * (8 - cubeBits))) {}

void TColourMatcher::learn(Cube& cube, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const std::array<int, 3> low{red & ~(cubeSide - 1), green & ~(cubeSide - 1),
                                 blue & ~(cubeSide - 1)};
    // No colour of the cube is farther than `bound` from its closest entry, so entries
    // that cannot come that near are never the answer inside it.
    int bound = 1 << 30;
    for (std::size_t i = 0; i < count_; ++i) {
        const TPaletteEntry& e = colours_[i];
        bound = std::min(bound, farthestGap(e.red, low[0]) + farthestGap(e.green, low[1]) +
                                    farthestGap(e.blue, low[2]));
    }
    cube.first = static_cast<std::uint32_t>(candidates_.size());
    for (std::size_t i = 0; i < count_; ++i) {
        const TPaletteEntry& e = colours_[i];
        if (nearestGap(e.red, low[0]) + nearestGap(e.green, low[1]) + nearestGap(e.blue, low[2]) <=
            bound) {
            candidates_.push_back(static_cast<std::uint8_t>(i));
        }
    }
    cube.count = static_cast<std::uint16_t>(candidates_.size() - cube.first);
    cube.known = true;
}

std::uint8_t TColourMatcher::index(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    constexpr int shift = 8 - cubeBits;
    Cube& cube = cubes_[((red >> cubeBits) << (2 * shift)) | ((green >> cubeBits) << shift) |
                        (blue >> cubeBits)];
    if (!cube.known) {
        learn(cube, red, green, blue);
    }
    std::uint8_t best = 0;
    int bestDistance = 1 << 30;
    // Candidates are in table order, so the first of equally close entries wins.
    for (std::uint32_t i = cube.first; i < cube.first + cube.count; ++i) {
        const int d = distance(colours_[candidates_[i]], red, green, blue);
        if (d < bestDistance) {
            bestDistance = d;
            best = candidates_[i];
        }
    }
    return best;
}

std::uint8_t TColourMatcher::nearest(const std::vector<TPaletteEntry>& colours, std::size_t limit,
                                     std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    std::size_t best = 0;
    int bestDistance = 1 << 30;
    const std::size_t count = std::min(colours.size(), std::min<std::size_t>(limit, 256));
    for (std::size_t i = 0; i < count && bestDistance != 0; ++i) {
        const int d = distance(colours[i], red, green, blue);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}
