#include "recompress/JpegDecodeOptions.h"

#include "imaging/jpeg/TJPEGImage.h"

namespace JpegDecodeOptions {

void forSource(TJPEGImage& jpeg) {
    jpeg.setGrayMode(false);
    jpeg.setProgressiveRead(false);
    jpeg.setDecodeSpeed(TJPEGDecodeSpeed::Accurate);
    jpeg.setDecodeDepth(TJPEGDecodeDepth::Depth24);
    jpeg.setBlockSmoothing(false);
    jpeg.setDecodeScale(TJPEGDecodeScale::Full);
}

void decodeForPanes(TJPEGImage& jpeg, TJPEGDecodeDepth depth) {
    jpeg.setGrayMode(false);
    jpeg.setDecodeSpeed(TJPEGDecodeSpeed::Accurate);
    jpeg.setDecodeDepth(depth);
    jpeg.setDecodeScale(TJPEGDecodeScale::Full);
    jpeg.setBlockSmoothing(true);
    jpeg.setProgressiveRead(false);
    jpeg.Decode();
}

} // namespace JpegDecodeOptions
