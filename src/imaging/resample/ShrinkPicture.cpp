#include "imaging/resample/ShrinkPicture.h"

#include "core/EAbort.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/resample/LanczosResampler.h"
#include "imaging/resample/ReducedDecode.h"

namespace {

void copyAt24Bits(const TBitmap& source, TBitmap& target) {
    TBitmap copy;
    copy.CopyFrom(&source); // shares the pixels until the conversion, if any
    copy.setPixelFormat(TPixelFormat::Bits24);
    target.CopyFrom(&copy);
}

bool shrink(const TBitmap& pixels, PixelSize size, TBitmap& target, const std::stop_token& stop) {
    if (PixelSize{pixels.width(), pixels.height()} == size) {
        copyAt24Bits(pixels, target);
    } else {
        LanczosResampler::resize(pixels, size, target, stop);
    }
    return true;
}

} // namespace

namespace ShrinkPicture {

bool fromJpeg(TJPEGImage& jpeg, int longestSide, TBitmap& target, std::stop_token stop) {
    EAbort::raiseIfRequested(stop);
    jpeg.setDecodeDepth(TJPEGDecodeDepth::Depth24);
    const PixelSize header{static_cast<int>(jpeg.data().HeaderWidth),
                           static_cast<int>(jpeg.data().HeaderHeight)};
    if (header.width <= 0 || header.height <= 0) {
        jpeg.setDecodeScale(TJPEGDecodeScale::Full);
        jpeg.Decode(); // says what is wrong with the bytes, if anything
    }
    const ResizeTarget wanted = ResizeTarget::of(header, longestSide);
    jpeg.setDecodeScale(wanted.resized ? ReducedDecode::scaleFor(header, wanted.size)
                                       : TJPEGDecodeScale::Full);
    const TBitmap& decoded = jpeg.Decode();
    EAbort::raiseIfRequested(stop);
    if (!wanted.resized) {
        copyAt24Bits(decoded, target);
        return false;
    }
    return shrink(decoded, wanted.size, target, stop);
}

bool fromBitmap(const TBitmap& bitmap, int longestSide, TBitmap& target, std::stop_token stop) {
    EAbort::raiseIfRequested(stop);
    const ResizeTarget wanted = ResizeTarget::of({bitmap.width(), bitmap.height()}, longestSide);
    if (!wanted.resized) {
        copyAt24Bits(bitmap, target);
        return false;
    }
    return shrink(bitmap, wanted.size, target, stop);
}

} // namespace ShrinkPicture
