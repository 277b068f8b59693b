#include "imaging/TColourMatcher.h"

TColourMatcher::TColourMatcher(const std::vector<TPaletteEntry>& colours, std::size_t limit)
    : colours_(colours), limit_(limit) {}

std::uint8_t TColourMatcher::index(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const std::uint32_t colour = red | (green << 8) | (blue << 16);
    Slot& slot = slots_[(colour * 2654435761u) >> 20];
    if (slot.colour != colour) {
        slot.colour = colour;
        slot.index = nearest(colours_, limit_, red, green, blue);
    }
    return slot.index;
}

std::uint8_t TColourMatcher::nearest(const std::vector<TPaletteEntry>& colours, std::size_t limit,
                                     std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    std::size_t best = 0;
    int bestDistance = 1 << 30;
    const std::size_t count = colours.size() < limit ? colours.size() : limit;
    for (std::size_t i = 0; i < count && bestDistance != 0; ++i) {
        const int dr = colours[i].red - red;
        const int dg = colours[i].green - green;
        const int db = colours[i].blue - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}
