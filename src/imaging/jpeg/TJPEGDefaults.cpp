#include "imaging/jpeg/TJPEGDefaults.h"

TJPEGDefaults& TJPEGDefaults::current() {
    static TJPEGDefaults defaults;
    return defaults;
}

void TJPEGDefaults::takeDecodeDepthFromScreen(int screenBitsPerPixel) {
    current().DecodeDepth =
        screenBitsPerPixel <= 8 ? TJPEGDecodeDepth::Depth8 : TJPEGDecodeDepth::Depth24;
}
