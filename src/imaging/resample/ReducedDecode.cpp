#include "imaging/resample/ReducedDecode.h"

#include <utility>

PixelSize ReducedDecode::decodedSize(PixelSize header, TJPEGDecodeScale scale) {
    const int divisor = 1 << static_cast<int>(scale);
    return {(header.width + divisor - 1) / divisor, (header.height + divisor - 1) / divisor};
}

TJPEGDecodeScale ReducedDecode::scaleFor(PixelSize header, PixelSize target,
                                         const LeastRemaining& least) {
    for (const auto& [scale, factor] : {std::pair{TJPEGDecodeScale::Eighth, least.eighth},
                                        std::pair{TJPEGDecodeScale::Quarter, least.quarter},
                                        std::pair{TJPEGDecodeScale::Half, least.half}}) {
        const PixelSize decoded = decodedSize(header, scale);
        if (decoded.width >= factor * target.width && decoded.height >= factor * target.height) {
            return scale;
        }
    }
    return TJPEGDecodeScale::Full;
}
