#pragma once

#include <QImage>

// What a recompression changed, made visible: per pixel and per channel, the absolute
// difference between the loaded and the recompressed picture, multiplied and clipped to
// 255, so blocking, ringing and colour bleeding stand out on black.
class AmplifiedDifference {
public:
    static constexpr int Factor = 8;

    // As large as `recompressed`; where `loaded` has no pixel the result is black.
    static QImage of(const QImage& loaded, const QImage& recompressed);
};
