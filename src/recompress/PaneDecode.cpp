#include "recompress/PaneDecode.h"

#include "imaging/jpeg/TJPEGDefaults.h"
#include "imaging/jpeg/TJPEGImage.h"

void decodeForPanes(TJPEGImage& jpeg) {
    const TJPEGDefaults& defaults = TJPEGDefaults::current();
    jpeg.setGrayMode(defaults.GrayMode);
    jpeg.setDecodeSpeed(defaults.DecodeSpeed);
    jpeg.setDecodeDepth(defaults.DecodeDepth);
    jpeg.setDecodeScale(defaults.DecodeScale);
    jpeg.setBlockSmoothing(defaults.BlockSmoothing);
    jpeg.setProgressiveRead(defaults.ProgressiveRead);
    jpeg.Decode();
}
