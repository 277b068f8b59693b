// Reads arbitrary bytes as a HEIF or AVIF file as the command line does, and checks that what
// comes out is what a JPEG file can take: upright pixels and metadata that turns nothing.
#include "core/Exception.h"
#include "imaging/formats/HeifReader.h"
#include "imaging/metadata/ExifBlock.h"
#include "imaging/metadata/IccProfile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <libheif/heif.h>

namespace {

// Pictures of more than a few megapixels are legal but make every run slow, and the
// library's own buffers for them would pass the fuzzer's memory bound: only their refusal
// paths are explored here. A grid's canvas and a coded picture may have as many pixels as a
// square on the longer side, padded by a block.
bool tooSlowToFuzz(const std::uint8_t* data, std::size_t size) {
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    bool slow = false;
    if (heif_context_read_from_memory_without_copy(context, data, size, nullptr).code == 0 &&
        heif_context_get_primary_image_handle(context, &handle).code == 0) {
        const std::uint64_t width = std::max(0, heif_image_handle_get_width(handle));
        const std::uint64_t height = std::max(0, heif_image_handle_get_height(handle));
        const std::uint64_t side = std::max(width, height) + 128;
        slow = side * side > (1 << 22) && width * height <= PictureReadOptions::MostPixels;
    }
    heif_image_handle_release(handle);
    heif_context_free(context);
    return slow;
}

} // namespace

// The library's AV1 decoder keeps 40 bytes of an empty payload it refuses (the file then
// fails with the library's reason): their leak, not the reader's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdav1d.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (tooSlowToFuzz(data, size)) {
        return 0;
    }
    DecodedPicture out;
    try {
        HeifReader::read(data, size, {}, out);
    } catch (const Exception&) {
        return 0;
    }
    const PictureMetadata& metadata = out.metadata;
    if (out.pixels.empty() || metadata.orientation != 1 ||
        (!metadata.exif.empty() && ExifBlock(metadata.exif).orientation() != 1) ||
        (!metadata.iccProfile.empty() && !IccProfile::suits(metadata.iccProfile, false))) {
        std::abort(); // what the reader gives must be upright and carriable
    }
    return 0;
}
