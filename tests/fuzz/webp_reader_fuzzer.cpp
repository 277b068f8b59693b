// Reads arbitrary bytes as a WebP file as the command line does, and checks that the picture
// has its canvas's size and that what is kept of the metadata can be carried.
#include "core/Exception.h"
#include "imaging/formats/WebpReader.h"
#include "imaging/metadata/IccProfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <webp/demux.h>

namespace {

struct Canvas {
    std::uint64_t width = 0;
    std::uint64_t height = 0;
};

Canvas canvasOf(const std::uint8_t* data, std::size_t size) {
    const WebPData bytes{data, size};
    WebPDemuxState state = WEBP_DEMUX_PARSE_ERROR;
    WebPDemuxer* demux = WebPDemuxPartial(&bytes, &state);
    Canvas canvas;
    if (demux && state == WEBP_DEMUX_DONE) {
        canvas = {WebPDemuxGetI(demux, WEBP_FF_CANVAS_WIDTH),
                  WebPDemuxGetI(demux, WEBP_FF_CANVAS_HEIGHT)};
    }
    WebPDemuxDelete(demux);
    return canvas;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A few bytes may claim a canvas of a gigabyte, legal but slow to fill on every run: only
    // the refusal of the larger ones is explored here.
    const Canvas canvas = canvasOf(data, size);
    const std::uint64_t pixels = canvas.width * canvas.height;
    if (pixels > (1 << 22) && pixels <= PictureReadOptions::MostPixels) {
        return 0;
    }
    DecodedPicture out;
    try {
        WebpReader::read(data, size, {}, out);
    } catch (const Exception&) {
        return 0;
    }
    if (std::uint64_t(out.pixels.width()) != canvas.width ||
        std::uint64_t(out.pixels.height()) != canvas.height ||
        (!out.metadata.iccProfile.empty() && !IccProfile::suits(out.metadata.iccProfile, false))) {
        std::abort(); // the whole canvas, and only a profile a JPEG file can carry
    }
    return 0;
}
