// Any bytes read as a TIFF file: errors are fine, crashes, leaks, hangs and out-of-bounds
// accesses are not, and a picture read must be what the reader promises.
#include "core/Exception.h"
#include "imaging/formats/PictureReadOptions.h"
#include "imaging/formats/TiffHandle.h"
#include "imaging/formats/TiffLayout.h"
#include "imaging/formats/TiffReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// A few compressed bytes may fill a picture of a gigabyte; such pictures are legal but make
// every run slow, so only their refusal paths are explored here.
bool tooSlowToFuzz(const std::uint8_t* data, std::size_t size) {
    try {
        const TiffHandle handle(data, size);
        const TiffLayout layout = TiffLayout::of(handle.tiff());
        const std::uint64_t pixels = std::uint64_t{layout.width} * layout.height;
        return pixels > (1 << 22) && pixels <= PictureReadOptions::MostPixels;
    } catch (const Exception&) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (tooSlowToFuzz(data, size)) {
        return 0;
    }
    PictureReadOptions options;
    options.background = size > 0 ? data[size - 1] * 0x010203u : 0; // any colour
    DecodedPicture picture;
    try {
        TiffReader::read(data, size, options, picture);
    } catch (const Exception&) {
        return 0;
    }
    if (picture.pixels.empty() || picture.pixels.pixelFormat() != TPixelFormat::Bits24 ||
        picture.metadata.orientation < 1 || picture.metadata.orientation > 8) {
        std::abort();
    }
    return 0;
}
