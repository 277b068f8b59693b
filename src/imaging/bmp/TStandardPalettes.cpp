#include "imaging/bmp/TStandardPalettes.h"

namespace {

std::vector<TPaletteEntry> makeHalftone() {
    std::vector<TPaletteEntry> entries = TStandardPalettes::system16();
    for (int red = 0; red < 6; ++red) {
        for (int green = 0; green < 6; ++green) {
            for (int blue = 0; blue < 6; ++blue) {
                entries.push_back({static_cast<std::uint8_t>(red * 51),
                                   static_cast<std::uint8_t>(green * 51),
                                   static_cast<std::uint8_t>(blue * 51), 0});
            }
        }
    }
    // Greys between the cube's steps, so gray pictures keep more of their shades.
    for (int i = 0; entries.size() < 256; ++i) {
        const auto level = static_cast<std::uint8_t>(8 + i * 10 + (i >= 5 ? 1 : 0));
        entries.push_back({level, level, level, 0});
    }
    return entries;
}

} // namespace

const std::vector<TPaletteEntry>& TStandardPalettes::system16() {
    static const std::vector<TPaletteEntry> entries{
        {0, 0, 0, 0},       {128, 0, 0, 0},   {0, 128, 0, 0},   {128, 128, 0, 0},
        {0, 0, 128, 0},     {128, 0, 128, 0}, {0, 128, 128, 0}, {192, 192, 192, 0},
        {128, 128, 128, 0}, {255, 0, 0, 0},   {0, 255, 0, 0},   {255, 255, 0, 0},
        {0, 0, 255, 0},     {255, 0, 255, 0}, {0, 255, 255, 0}, {255, 255, 255, 0},
    };
    return entries;
}

const std::vector<TPaletteEntry>& TStandardPalettes::halftone() {
    static const std::vector<TPaletteEntry> entries = makeHalftone();
    return entries;
}

const std::vector<TPaletteEntry>& TStandardPalettes::blackAndWhite() {
    static const std::vector<TPaletteEntry> entries{{0, 0, 0, 0}, {255, 255, 255, 0}};
    return entries;
}

const std::vector<TPaletteEntry>& TStandardPalettes::forFormat(TPixelFormat format) {
    static const std::vector<TPaletteEntry> none;
    switch (format) {
    case TPixelFormat::Bits1:
        return blackAndWhite();
    case TPixelFormat::Bits4:
        return system16();
    case TPixelFormat::Bits8:
        return halftone();
    default:
        return none;
    }
}
