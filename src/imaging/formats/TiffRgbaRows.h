#pragma once

#include <cstdint>
#include <stop_token>

class TBitmap;
class TiffHandle;
struct TiffLayout;

// libtiff's own conversion to RGBA for the files not read as stored here (YCbCr, CMYK, Lab,
// separate planes, uncommon depths), a strip's or a row of tiles' height at a time: it takes 4
// bytes a pixel of such a band beside the picture. Its pixels come in stored order, as the
// others', whatever the file's orientation.
class TiffRgbaRows {
public:
    // EPictureFile with libtiff's words for what it cannot convert or read.
    static void read(const TiffHandle& handle, const TiffLayout& layout, std::uint32_t background,
                     const std::stop_token& stop, TBitmap& pixels);
};
