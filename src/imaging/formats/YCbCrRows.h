#pragma once

#include <cstdint>

class TBitmap;

// Turns 8-bit planes of brightness and colour differences, as video codecs decode them, into
// the rows of a 24-bit picture: the reader then holds the codec's planes and the picture, not
// a third copy in between. The planes are full-range BT.601, as phones write them and as the
// library reads a file that names no matrix. Colour differences at half width, half height or
// both are taken from the sample covering each pixel, as the library takes them.
class YCbCrRows {
public:
    struct Plane {
        const std::uint8_t* samples = nullptr;
        int stride = 0;
    };
    struct Planes {
        Plane y, cb, cr;
        int chromaShiftX = 0; // 1 when the colour differences have half the width
        int chromaShiftY = 0; // 1 when they have half the height
    };

    // Fills every row of `pixels`, already sized; `stop` is called between rows.
    template <typename Stop> static void put(const Planes& planes, TBitmap& pixels, Stop&& stop) {
        for (int y = 0; y < height(pixels); ++y) {
            stop();
            putRow(planes, y, pixels);
        }
    }

private:
    static int height(const TBitmap& pixels);
    static void putRow(const Planes& planes, int y, TBitmap& pixels);
};
