#include "imaging/formats/PngReader.h"

#include "core/EAbort.h"
#include "core/EFOpenError.h"
#include "imaging/formats/EPictureFile.h"
#include "imaging/formats/ForeignMetadata.h"
#include "imaging/formats/PictureRows.h"
#include "imaging/formats/SixteenBitSamples.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <spng.h>
#include <string_view>
#include <vector>

namespace {

// The colour profile, the EXIF block and the text chunks are kept whole by the library: a
// file claiming more than this in one chunk, or in all of them, is refused rather than let
// allocate it.
constexpr std::size_t LargestChunk = std::size_t{64} << 20;
constexpr std::size_t LargestKeptChunks = std::size_t{128} << 20;

constexpr std::string_view XmpKeyword = "XML:com.adobe.xmp";

// Where each of the seven passes of an interlaced file puts its first pixel on a row, and the
// distance to its next one.
constexpr std::uint32_t PassStart[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr std::uint32_t PassStep[7] = {8, 8, 4, 4, 2, 2, 1};

struct FreeContext {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, FreeContext>;

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, CloseFile>;

void check(int error) {
    if (error != SPNG_OK) {
        throw EPictureFile("not a valid PNG file", spng_strerror(error));
    }
}

Context newContext() {
    Context context(spng_ctx_new(0));
    if (!context) {
        throw std::bad_alloc();
    }
    check(spng_set_chunk_limits(context.get(), LargestChunk, LargestKeptChunks));
    return context;
}

// The rows the library is asked for: 16-bit samples are rounded here rather than cut by it,
// and alpha is asked for only when the file has transparency.
struct RowFormat {
    int format = SPNG_FMT_RGB8;
    std::size_t channels = 3;
    bool sixteenBits = false;
};

RowFormat rowFormat(spng_ctx* context, const spng_ihdr& header) {
    if (header.bit_depth == 16) {
        return {SPNG_FMT_RGBA16, 4, true};
    }
    spng_trns transparency{};
    if (header.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
        header.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA ||
        spng_get_trns(context, &transparency) == SPNG_OK) {
        return {SPNG_FMT_RGBA8, 4, false};
    }
    return {};
}

// Takes the library's rows to the picture. An interlaced file gives every few pixels of some
// rows in each of seven passes, so its rows are gathered whole before any is laid on the
// background.
class RowDecoder {
public:
    RowDecoder(spng_ctx* context, const spng_ihdr& header, const PictureReadOptions& options,
               TBitmap& pixels)
        : context_(context), header_(header), options_(options), pixels_(pixels),
          format_(rowFormat(context, header)), samples_(header.width * format_.channels),
          narrow_(samples_), wide_(format_.sixteenBits ? samples_ : 0) {}

    void decode() {
        check(spng_decode_image(context_, nullptr, 0, format_.format,
                                SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE));
        if (header_.interlace_method != SPNG_INTERLACE_NONE) {
            // Every sample is written by one of the passes before the rows are put.
            gathered_ = std::make_unique_for_overwrite<std::uint8_t[]>(samples_ * header_.height);
        }
        for (bool more = true; more;) {
            EAbort::raiseIfRequested(options_.stop);
            spng_row_info row{};
            check(spng_get_row_info(context_, &row));
            more = decodeScanline();
            if (!gathered_) {
                put(static_cast<int>(row.row_num), narrow_.data());
            } else {
                gather(row);
            }
        }
        putGathered();
    }

private:
    // False after the last one.
    bool decodeScanline() {
        void* out = format_.sixteenBits ? static_cast<void*>(wide_.data()) : narrow_.data();
        const std::size_t size = format_.sixteenBits ? wide_.size() * 2 : narrow_.size();
        const int error = spng_decode_scanline(context_, out, size);
        if (error != SPNG_EOI) {
            check(error);
        }
        if (format_.sixteenBits) {
            SixteenBitSamples::toEight(wide_.data(), samples_, narrow_.data());
        }
        return error != SPNG_EOI;
    }

    void gather(const spng_row_info& row) {
        const std::uint32_t start = PassStart[row.pass];
        const std::uint32_t step = PassStep[row.pass];
        const std::size_t channels = format_.channels;
        std::uint8_t* line = gathered_.get() + samples_ * row.row_num;
        const std::uint8_t* from = narrow_.data();
        for (std::uint32_t x = start; x < header_.width; x += step, from += channels) {
            std::copy(from, from + channels, line + x * channels);
        }
    }

    void putGathered() {
        for (std::uint32_t y = 0; gathered_ && y < header_.height; ++y) {
            EAbort::raiseIfRequested(options_.stop);
            put(static_cast<int>(y), gathered_.get() + samples_ * y);
        }
    }

    void put(int y, const std::uint8_t* samples) {
        if (format_.channels == 4) {
            PictureRows::putRgba(pixels_, y, samples, options_.background);
        } else {
            PictureRows::putRgb(pixels_, y, samples);
        }
    }

    spng_ctx* context_;
    const spng_ihdr& header_;
    const PictureReadOptions& options_;
    TBitmap& pixels_;
    const RowFormat format_;
    const std::size_t samples_;
    std::vector<std::uint8_t> narrow_;
    std::vector<std::uint16_t> wide_;
    std::unique_ptr<std::uint8_t[]> gathered_;
};

void keepXmp(spng_ctx* context, PictureMetadata& metadata) {
    std::uint32_t count = 0;
    if (spng_get_text(context, nullptr, &count) != SPNG_OK || count == 0) {
        return;
    }
    std::vector<spng_text> texts(count);
    if (spng_get_text(context, texts.data(), &count) != SPNG_OK) {
        return;
    }
    for (const spng_text& text : texts) {
        if (text.keyword == XmpKeyword) {
            ForeignMetadata::addXmp(reinterpret_cast<const std::uint8_t*>(text.text), text.length,
                                    metadata);
            return;
        }
    }
}

PictureMetadata metadataOf(spng_ctx* context) {
    PictureMetadata metadata;
    spng_iccp profile{};
    if (spng_get_iccp(context, &profile) == SPNG_OK) {
        metadata.iccProfile.assign(profile.profile, profile.profile + profile.profile_len);
    }
    spng_exif exif{};
    if (spng_get_exif(context, &exif) == SPNG_OK) {
        ForeignMetadata::setExif(reinterpret_cast<const std::uint8_t*>(exif.data), exif.length,
                                 metadata);
    }
    keepXmp(context, metadata);
    return metadata;
}

void decode(spng_ctx* context, const PictureReadOptions& options, DecodedPicture& out) {
    spng_ihdr header{};
    check(spng_get_ihdr(context, &header));
    PictureRows::allocate(out.pixels, header.width, header.height, "PNG");
    // The chunks before the pixels, read here so that what is wrong with them is said; kept for
    // a file whose end is lost, as the library gives none of its chunks once it has failed.
    check(spng_decode_chunks(context));
    PictureMetadata before = metadataOf(context);
    RowDecoder(context, header, options, out.pixels).decode();
    // An EXIF block and text may follow the pixels.
    const int error = spng_decode_chunks(context);
    if (error == SPNG_OK) {
        out.metadata = metadataOf(context);
    } else {
        out.metadata = std::move(before);
        out.note = std::string("what follows its pixels was left out: ") + spng_strerror(error);
    }
}

} // namespace

void PngReader::read(const std::string& path, const PictureReadOptions& options,
                     DecodedPicture& out) {
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        throw EFOpenError(path, errno);
    }
    const Context context = newContext();
    check(spng_set_png_file(context.get(), file.get()));
    decode(context.get(), options, out);
}

void PngReader::read(const std::uint8_t* bytes, std::size_t size, const PictureReadOptions& options,
                     DecodedPicture& out) {
    if (size == 0) {
        check(SPNG_IO_EOF); // the library refuses an empty buffer as a wrong argument
    }
    const Context context = newContext();
    check(spng_set_png_buffer(context.get(), bytes, size));
    decode(context.get(), options, out);
}
