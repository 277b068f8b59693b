// Any bytes read as a JPEG file and decoded: errors are fine, crashes, leaks and
// out-of-bounds accesses are not.

#include "core/Exception.h"
#include "core/TMemoryStream.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/metadata/MetadataReader.h"
#include "imaging/metadata/SavedMarkers.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// A few bytes can announce a picture of gigabytes, and each scan of a multi-scan file goes
// over the whole picture again. Decoding those is legal but slow: the fuzzer would spend its
// time allocating and filling memory instead of trying new bytes.
constexpr std::uint64_t LargestDecodedWork = std::uint64_t{1} << 18; // pixels times scans

// At most as many scans as start-of-scan markers, at least one.
std::uint64_t scanBound(const std::uint8_t* data, std::size_t size) {
    std::uint64_t markers = 0;
    for (std::size_t i = 0; i + 1 < size; ++i) {
        markers += data[i] == 0xFF && data[i + 1] == 0xDA;
    }
    return std::max<std::uint64_t>(markers, 1);
}

void setOptions(TJPEGImage& jpeg, std::uint8_t options) {
    jpeg.setDecodeDepth(options & 1 ? TJPEGDecodeDepth::Depth8 : TJPEGDecodeDepth::Depth24);
    jpeg.setDecodeSpeed(options & 2 ? TJPEGDecodeSpeed::Fast : TJPEGDecodeSpeed::Accurate);
    jpeg.setProgressiveRead(options & 4);
    jpeg.setGrayMode(options & 8);
    jpeg.setDecodeScale(static_cast<TJPEGDecodeScale>((options >> 4) & 3));
}

void decode(TJPEGImage& jpeg, std::uint64_t scans) {
    const std::uint64_t pixels = std::uint64_t{jpeg.data().HeaderWidth} * jpeg.data().HeaderHeight;
    const int width = jpeg.ImageWidth();
    const int height = jpeg.ImageHeight();
    if (pixels * scans > LargestDecodedWork) {
        return;
    }
    const TBitmap& bitmap = jpeg.Decode();
    if (bitmap.width() != width || bitmap.height() != height) {
        std::abort(); // the decode must give the size the header announces
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMemoryStream stream;
    stream.writeBuffer(data, size);
    stream.setPosition(0);
    TJPEGImage jpeg;
    // The last byte picks the options, so every decoding path is reached.
    setOptions(jpeg, size > 0 ? data[size - 1] : 0);
    try {
        jpeg.ReadFromStream(stream);
        decode(jpeg, scanBound(data, size));
    } catch (const Exception&) {
    }
    // What the saving takes from the file beside its pixels, and what it makes of it.
    const PictureMetadata metadata = MetadataReader::fromJpeg(data, size);
    SavedMarkers::choose(metadata, {true, false, 640, 480});
    return 0;
}
