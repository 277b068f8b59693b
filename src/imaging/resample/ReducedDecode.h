#pragma once

#include "imaging/jpeg/TJPEGOptions.h"
#include "imaging/resample/ResizeTarget.h"

#include <limits>

// The DCT reduction a JPEG file is decoded at before the Lanczos pass shrinks it the rest of
// the way: libjpeg then works out only the pixels the filter needs.
class ReducedDecode {
public:
    // How much the Lanczos pass must still shrink by after each reduction, in both sides. The
    // reduced decode averages blocks of 2 x 2, 4 x 4 or 8 x 8 pixels in sRGB, not in linear
    // light, which darkens fine contrasty detail; the larger the remaining reduction, the
    // less that shows. All 1: the plain rule, decoded sides no smaller than the target.
    struct LeastRemaining {
        double half = 1;
        double quarter = 1;
        double eighth = 1;
    };
    // Measured with bench/resize_bench.sh against ImageMagick's linear-light Lanczos from the
    // full picture, the choice that stays at 40 dB PSNR or more on every photograph tried
    // (README, "Shrinking to a longest side"): 1/8 never does on a finely textured one.
    static constexpr LeastRemaining Measured{1.5, 2.5, std::numeric_limits<double>::infinity()};

    // The largest reduction (none, 1/2, 1/4, 1/8) whose decoded picture is still at least
    // `least` of that reduction times the target in both sides.
    static TJPEGDecodeScale scaleFor(PixelSize header, PixelSize target,
                                     const LeastRemaining& least = Measured);
    // Both sides divided by 2 to the power of the scale, rounded up, as libjpeg decodes them.
    static PixelSize decodedSize(PixelSize header, TJPEGDecodeScale scale);
};
