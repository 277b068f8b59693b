#pragma once

#include "imaging/jpeg/TJPEGOptions.h"
#include "imaging/resample/ResizeTarget.h"

// The DCT reduction a JPEG file is decoded at before the Lanczos pass shrinks it the rest of
// the way: libjpeg then works out only the pixels the filter needs.
class ReducedDecode {
public:
    // The largest reduction (none, 1/2, 1/4, 1/8) whose decoded picture is still at least
    // `leastReduction` times the target in both sides, so the Lanczos pass has at least that
    // factor left to shrink by. 1 gives the plain rule: decoded sides no smaller than the target.
    static TJPEGDecodeScale scaleFor(PixelSize header, PixelSize target,
                                     double leastReduction = LeastLanczosReduction);
    // Both sides divided by 2 to the power of the scale, rounded up, as libjpeg decodes them.
    static PixelSize decodedSize(PixelSize header, TJPEGDecodeScale scale);

    // The DCT reduction averages in sRGB, not in linear light, so it may only shrink a
    // picture whose remaining reduction stays this large; bench/resize_bench.sh measures it.
    static constexpr double LeastLanczosReduction = 1.0;
};
