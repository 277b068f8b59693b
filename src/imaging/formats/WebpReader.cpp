#include "imaging/formats/WebpReader.h"

#include "core/EAbort.h"
#include "core/TFileStream.h"
#include "imaging/formats/EPictureFile.h"
#include "imaging/formats/PictureRows.h"
#include "imaging/metadata/ExifBlock.h"
#include "imaging/metadata/IccProfile.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <webp/decode.h>
#include <webp/demux.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string Kind = "WebP";
const std::string Invalid = "not a valid WebP file";
const std::string CutShort = "the file is cut short";
// What a JPEG file's APP1 segment puts before an XMP packet, as the JPEG reader keeps it.
constexpr std::string_view XmpHeader{"http://ns.adobe.com/xap/1.0/\0", 29};
constexpr std::string_view ExifHeader{"Exif\0\0", 6};
// How much of a frame the decoder is given at a time, so a stop is heard within a moment.
constexpr std::size_t Step = 256 * 1024;
constexpr std::size_t RiffHeaderLength = 12;

struct DemuxDelete {
    void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
struct DecoderDelete {
    void operator()(WebPIDecoder* decoder) const { WebPIDelete(decoder); }
};
using Demux = std::unique_ptr<WebPDemuxer, DemuxDelete>;
using Decoder = std::unique_ptr<WebPIDecoder, DecoderDelete>;

// The library names its failures by code only.
std::string reasonOf(VP8StatusCode status) {
    switch (status) {
    case VP8_STATUS_OUT_OF_MEMORY:
        return "out of memory";
    case VP8_STATUS_UNSUPPORTED_FEATURE:
        return "the picture uses a feature the library does not support";
    case VP8_STATUS_SUSPENDED:
    case VP8_STATUS_NOT_ENOUGH_DATA:
        return CutShort;
    default:
        return "the compressed picture is damaged";
    }
}

// The whole file must be there: the chunks are read from their table, and a frame cut short
// would decode to a half-grey picture.
Demux open(const std::uint8_t* bytes, std::size_t size) {
    const WebPData data{bytes, size};
    WebPDemuxState state = WEBP_DEMUX_PARSE_ERROR;
    Demux demux(WebPDemuxPartial(&data, &state));
    if (state == WEBP_DEMUX_PARSE_ERROR || !demux) {
        const bool headerCut = state == WEBP_DEMUX_PARSING_HEADER || size < RiffHeaderLength;
        throw EPictureFile(Invalid, headerCut ? CutShort : "the file's chunks do not fit together");
    }
    if (state != WEBP_DEMUX_DONE) {
        throw EPictureFile(Invalid, CutShort);
    }
    return demux;
}

struct Frame {
    WebPIterator at{};
    ~Frame() { WebPDemuxReleaseIterator(&at); }
};

// The decoder is fed the frame's bytes a step at a time, so a stop ends even a huge frame.
Bytes decode(const WebPIterator& frame, const std::stop_token& stop) {
    const std::size_t stride = static_cast<std::size_t>(frame.width) * 4;
    Bytes rgba(stride * static_cast<std::size_t>(frame.height));
    const Decoder decoder(
        WebPINewRGB(MODE_RGBA, rgba.data(), rgba.size(), static_cast<int>(stride)));
    if (!decoder) {
        throw EPictureFile(Invalid, reasonOf(VP8_STATUS_OUT_OF_MEMORY));
    }
    const std::uint8_t* bytes = frame.fragment.bytes;
    VP8StatusCode status = VP8_STATUS_NOT_ENOUGH_DATA;
    for (std::size_t given = 0; given < frame.fragment.size;) {
        EAbort::raiseIfRequested(stop);
        given = std::min(frame.fragment.size, given + Step);
        status = WebPIUpdate(decoder.get(), bytes, given);
        if (status != VP8_STATUS_SUSPENDED) {
            break;
        }
    }
    int rows = 0, width = 0, height = 0;
    if (status != VP8_STATUS_OK ||
        !WebPIDecGetRGB(decoder.get(), &rows, &width, &height, nullptr) || width != frame.width ||
        height != frame.height || rows != height) {
        throw EPictureFile(Invalid,
                           reasonOf(status == VP8_STATUS_OK ? VP8_STATUS_BITSTREAM_ERROR : status));
    }
    return rgba;
}

// An animation's canvas starts transparent, so its first frame is laid on the background
// where it leaves the canvas bare.
void lay(const Bytes& rgba, const WebPIterator& frame, const PictureReadOptions& options,
         TBitmap& pixels) {
    const auto width = static_cast<std::size_t>(pixels.width());
    if (frame.x_offset < 0 || frame.y_offset < 0 ||
        static_cast<std::size_t>(frame.x_offset + frame.width) > width ||
        frame.y_offset + frame.height > pixels.height()) {
        throw EPictureFile(Invalid, "the first frame lies outside the canvas");
    }
    const std::size_t frameRow = static_cast<std::size_t>(frame.width) * 4;
    Bytes row(width * 4, 0);
    for (int y = 0; y < pixels.height(); ++y) {
        EAbort::raiseIfRequested(options.stop);
        const int inFrame = y - frame.y_offset;
        if (inFrame >= 0 && inFrame < frame.height) {
            const auto from = rgba.begin() + static_cast<std::ptrdiff_t>(frameRow * inFrame);
            std::copy(from, from + static_cast<std::ptrdiff_t>(frameRow),
                      row.begin() + frame.x_offset * 4);
        } else {
            std::fill(row.begin(), row.end(), 0);
        }
        PictureRows::putRgba(pixels, y, row.data(), options.background);
    }
}

Bytes chunk(const WebPDemuxer& demux, const char* fourCharacters) {
    WebPChunkIterator at{};
    Bytes data;
    if (WebPDemuxGetChunk(&demux, fourCharacters, 1, &at)) {
        data.assign(at.chunk.bytes, at.chunk.bytes + at.chunk.size);
    }
    WebPDemuxReleaseChunkIterator(&at);
    return data;
}

// The EXIF chunk holds the TIFF bytes, after a JPEG's "Exif\0\0" in some writers' files.
PictureMetadata metadataOf(const WebPDemuxer& demux) {
    PictureMetadata metadata;
    metadata.iccProfile = chunk(demux, "ICCP");
    if (!IccProfile::suits(metadata.iccProfile, false)) {
        metadata.iccProfile.clear();
    }
    metadata.exif = chunk(demux, "EXIF");
    if (metadata.exif.size() >= ExifHeader.size() &&
        std::equal(ExifHeader.begin(), ExifHeader.end(), metadata.exif.begin())) {
        metadata.exif.erase(metadata.exif.begin(), metadata.exif.begin() + ExifHeader.size());
    }
    metadata.orientation = ExifBlock(metadata.exif).orientation();
    const Bytes xmp = chunk(demux, "XMP ");
    if (!xmp.empty()) {
        metadata.xmp.emplace_back(XmpHeader.begin(), XmpHeader.end());
        metadata.xmp.back().insert(metadata.xmp.back().end(), xmp.begin(), xmp.end());
    }
    return metadata;
}

std::string noteOf(const WebPDemuxer& demux) {
    const std::uint32_t frames = WebPDemuxGetI(&demux, WEBP_FF_FRAME_COUNT);
    return frames > 1 ? "animated: only the first of " + std::to_string(frames) + " frames was read"
                      : "";
}

} // namespace

void WebpReader::read(const std::string& path, const PictureReadOptions& options,
                      DecodedPicture& out) {
    const std::vector<std::uint8_t> bytes = TFileStream::readWhole(path);
    read(bytes.data(), bytes.size(), options, out);
}

void WebpReader::read(const std::uint8_t* bytes, std::size_t size,
                      const PictureReadOptions& options, DecodedPicture& out) {
    EAbort::raiseIfRequested(options.stop);
    const Demux demux = open(bytes, size);
    // The canvas a file claims is checked before anything is decoded.
    PictureRows::allocate(out.pixels, WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH),
                          WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT), Kind);
    Frame frame;
    if (!WebPDemuxGetFrame(demux.get(), 1, &frame.at)) {
        throw EPictureFile(Invalid, "the file holds no picture");
    }
    lay(decode(frame.at, options.stop), frame.at, options, out.pixels);
    out.metadata = metadataOf(*demux);
    out.note = noteOf(*demux);
}
