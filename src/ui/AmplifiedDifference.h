#pragma once

#include <QImage>

class TBitmap;

// What a recompression changed, made visible: per pixel and per channel, the absolute
// difference between the loaded and the recompressed picture, multiplied and clipped to
// 255, so blocking, ringing and colour bleeding stand out on black.
class AmplifiedDifference {
public:
    static constexpr int Factor = 8;

    // As large as `recompressed`; where `loaded` has no pixel the result is black. Read
    // straight from the bitmaps' rows and made at 3 bytes a pixel: beside two large pictures
    // already in memory, the difference adds no more than one more of them.
    static QImage of(const TBitmap& loaded, const TBitmap& recompressed);
};
