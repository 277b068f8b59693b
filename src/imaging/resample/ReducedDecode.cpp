#include "imaging/resample/ReducedDecode.h"

#include <initializer_list>

PixelSize ReducedDecode::decodedSize(PixelSize header, TJPEGDecodeScale scale) {
    const int divisor = 1 << static_cast<int>(scale);
    return {(header.width + divisor - 1) / divisor, (header.height + divisor - 1) / divisor};
}

TJPEGDecodeScale ReducedDecode::scaleFor(PixelSize header, PixelSize target,
                                         double leastReduction) {
    for (TJPEGDecodeScale scale :
         {TJPEGDecodeScale::Eighth, TJPEGDecodeScale::Quarter, TJPEGDecodeScale::Half}) {
        const PixelSize decoded = decodedSize(header, scale);
        if (decoded.width >= leastReduction * target.width &&
            decoded.height >= leastReduction * target.height) {
            return scale;
        }
    }
    return TJPEGDecodeScale::Full;
}
