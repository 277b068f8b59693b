// Any bytes read as a JPEG file and decoded: errors are fine, crashes, leaks and
// out-of-bounds accesses are not.

#include "core/Exception.h"
#include "core/TMemoryStream.h"
#include "imaging/TJPEGImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMemoryStream stream;
    stream.writeBuffer(data, size);
    stream.setPosition(0);
    TJPEGImage jpeg;
    // The last byte picks the options, so every decoding path is reached.
    const std::uint8_t options = size > 0 ? data[size - 1] : 0;
    jpeg.setDecodeDepth(options & 1 ? TJPEGDecodeDepth::Depth8 : TJPEGDecodeDepth::Depth24);
    jpeg.setDecodeSpeed(options & 2 ? TJPEGDecodeSpeed::Fast : TJPEGDecodeSpeed::Accurate);
    jpeg.setProgressiveRead(options & 4);
    jpeg.setGrayMode(options & 8);
    jpeg.setDecodeScale(static_cast<TJPEGDecodeScale>((options >> 4) & 3));
    try {
        jpeg.ReadFromStream(stream);
        jpeg.ImageWidth();
        jpeg.Decode();
    } catch (const Exception&) {
    }
    return 0;
}
