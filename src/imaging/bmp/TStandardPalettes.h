#pragma once

#include "imaging/picture/TPaletteEntry.h"
#include "imaging/picture/TPixelFormat.h"

#include <vector>

// The colour tables that new and converted pictures of 8 bits or fewer start with.
class TStandardPalettes {
public:
    // 256 colours: the 16 system colours, a 6 x 6 x 6 colour cube and a ramp of greys.
    static const std::vector<TPaletteEntry>& halftone();
    // The 16 colours of the system palette, in its order.
    static const std::vector<TPaletteEntry>& system16();
    static const std::vector<TPaletteEntry>& blackAndWhite();
    // The table a new picture of `format` gets; empty for formats without a table.
    static const std::vector<TPaletteEntry>& forFormat(TPixelFormat format);
};
