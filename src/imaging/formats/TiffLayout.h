#pragma once

#include <cstdint>
#include <tiffio.h>

// How the first directory of a TIFF file stores its pixels, and whether its rows are read as
// stored and converted here (grey, palette and RGB samples of the usual depths, in strips or
// tiles, which is nearly every file) or by libtiff's conversion to RGBA (the rest).
struct TiffLayout {
    // What an extra sample beside the colours says: only one that says it is transparency is
    // taken as such, as some editors keep masks and selections in the others.
    enum class Alpha { None, Straight, Premultiplied };

    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t samples = 1; // a pixel's, extra ones included
    std::uint16_t bits = 1;    // a sample's
    std::uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    std::uint16_t sampleFormat = SAMPLEFORMAT_UINT;
    Alpha alpha = Alpha::None;
    bool tiled = false;
    std::uint32_t tileWidth = 0;
    std::uint32_t tileLength = 0;
    std::uint32_t rowsPerStrip = 0;

    static TiffLayout of(TIFF* tiff);

    // The colour samples of a pixel: 1 for grey and palette, 3 for RGB.
    int colours() const { return photometric == PHOTOMETRIC_RGB ? 3 : 1; }
    bool readAsStored() const;

private:
    bool storedDepth() const;
};
