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
    // full picture (README, "Shrinking to a longest side"): camera photographs stay above
    // 40 dB PSNR with 1.5 left after a half or a quarter, so a 100-megapixel photograph shrunk
    // to 1920 pixels decodes at a quarter, in a sixteenth of the memory; 1/8 never keeps
    // 40 dB on a finely textured picture.
    static constexpr LeastRemaining Measured{1.5, 1.5, std::numeric_limits<double>::infinity()};

    // The largest reduction (none, 1/2, 1/4, 1/8) whose decoded picture is still at least
    // `least` of that reduction times the target in both sides.
    static TJPEGDecodeScale scaleFor(PixelSize header, PixelSize target,
                                     const LeastRemaining& least = Measured);
    // Both sides divided by 2 to the power of the scale, rounded up, as libjpeg decodes them.
    static PixelSize decodedSize(PixelSize header, TJPEGDecodeScale scale);
};
