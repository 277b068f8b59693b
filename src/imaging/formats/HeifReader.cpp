#include "imaging/formats/HeifReader.h"

#include "core/EAbort.h"
#include "core/TFileStream.h"
#include "imaging/formats/EPictureFile.h"
#include "imaging/formats/HeifMetadata.h"
#include "imaging/formats/PictureRows.h"

#include <algorithm>
#include <climits>
#include <libheif/heif.h>
#include <memory>
#include <optional>

namespace {

const std::string Kind = "HEIF";
const std::string Invalid = "not a valid HEIF file";
// The longest side the library allows a picture by default.
constexpr int LongestSide = 32768;
// The largest coding block of the codecs, which a coded picture's sides are rounded up to.
constexpr int LargestBlock = 128;

struct ContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
using Context = std::unique_ptr<heif_context, ContextFree>;
using Handle = std::unique_ptr<heif_image_handle, HandleRelease>;
using Image = std::unique_ptr<heif_image, ImageRelease>;

// The library registers its codecs once, for the program's whole run.
void initialiseLibrary() {
    static const struct Library {
        Library() { heif_init(nullptr); }
        ~Library() { heif_deinit(); }
    } library;
}

// The codec the file's brands name. Without its decoder the library only says "Unsupported
// codec", which would not tell the user what to install.
std::optional<heif_compression_format> codecOf(const std::uint8_t* bytes, std::size_t size) {
    const int length = static_cast<int>(std::min<std::size_t>(size, INT_MAX));
    const auto has = [&](const char* brand) {
        return heif_read_main_brand(bytes, length) == heif_fourcc_to_brand(brand) ||
               heif_has_compatible_brand(bytes, length, brand) == 1;
    };
    if (has("avif") || has("avis")) {
        return heif_compression_AV1;
    }
    for (const char* brand : {"heic", "heix", "heim", "heis", "hevc", "hevx"}) {
        if (has(brand)) {
            return heif_compression_HEVC;
        }
    }
    return std::nullopt;
}

// The file at hand, for the errors that need more than the library's words.
struct Source {
    const std::uint8_t* bytes;
    std::size_t size;
};

// Named when the brands name a codec the library has no decoder for; a file of another
// codec (JPEG or VVC pictures in a HEIF file) is told apart from it.
std::string missingDecoder(const Source& source) {
    const std::optional<heif_compression_format> codec = codecOf(source.bytes, source.size);
    if (!codec || heif_have_decoder_for_format(*codec)) {
        return "no decoder is installed for the file's codec";
    }
    return std::string("no ") + (*codec == heif_compression_AV1 ? "AV1" : "HEVC") +
           " decoder is installed";
}

void check(const heif_error& error, const Source& source) {
    if (error.code == heif_error_Ok) {
        return;
    }
    if (error.subcode == heif_suberror_Unsupported_codec) {
        throw EPictureFile(Invalid, missingDecoder(source));
    }
    // Some of the library's messages end with a new line; the reason must stay one line.
    std::string reason = error.message ? error.message : "";
    reason.erase(reason.find_last_not_of(" \n") + 1);
    throw EPictureFile(Invalid, reason.empty() ? "the library gives no reason" : reason);
}

Handle primaryPicture(heif_context& context, const Source& source) {
    heif_image_handle* handle = nullptr;
    const heif_error error = heif_context_get_primary_image_handle(&context, &handle);
    Handle owned(handle);
    check(error, source);
    return owned;
}

// Deeper levels come as 16-bit values, to be rounded here: the library's own conversion to
// 8 bits drops the low bits, a level darker on average.
bool deep(const heif_image_handle& handle) {
    return std::max(heif_image_handle_get_luma_bits_per_pixel(&handle),
                    heif_image_handle_get_chroma_bits_per_pixel(&handle)) > 8;
}

heif_chroma chromaOf(bool alpha, bool deep) {
    if (deep) {
        return alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE;
    }
    return alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB;
}

Image decode(const heif_image_handle& handle, heif_chroma chroma, const Source& source) {
    heif_image* image = nullptr;
    const heif_error error =
        heif_decode_image(&handle, &image, heif_colorspace_RGB, chroma, nullptr);
    Image owned(image);
    check(error, source);
    return owned;
}

void narrow(const std::uint8_t* samples, std::vector<std::uint8_t>& row, int bits) {
    const unsigned top = (1u << std::clamp(bits, 1, 16)) - 1;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const unsigned value = std::min<unsigned>(top, samples[2 * i] | samples[2 * i + 1] << 8);
        row[i] = static_cast<std::uint8_t>((value * 255 + top / 2) / top);
    }
}

// The library hands premultiplied pixels out as the file stores them; the rows are laid on
// the background from straight ones.
void unpremultiply(std::vector<std::uint8_t>& row) {
    for (std::size_t i = 0; i + 3 < row.size(); i += 4) {
        const unsigned alpha = row[i + 3];
        for (std::size_t c = i; c < i + 3; ++c) {
            row[c] =
                alpha
                    ? static_cast<std::uint8_t>(std::min(255u, (row[c] * 255u + alpha / 2) / alpha))
                    : 0;
        }
    }
}

void putRows(heif_image& image, bool alpha, bool deep, const PictureReadOptions& options,
             TBitmap& pixels) {
    int stride = 0;
    const std::uint8_t* plane =
        heif_image_get_plane_readonly(&image, heif_channel_interleaved, &stride);
    if (!plane || heif_image_get_width(&image, heif_channel_interleaved) != pixels.width() ||
        heif_image_get_height(&image, heif_channel_interleaved) != pixels.height()) {
        throw EPictureFile(Invalid, "the decoded picture is not the size the file gives");
    }
    const bool premultiplied = alpha && heif_image_is_premultiplied_alpha(&image);
    const int bits = heif_image_get_bits_per_pixel_range(&image, heif_channel_interleaved);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(pixels.width()) * (alpha ? 4 : 3));
    for (int y = 0; y < pixels.height(); ++y) {
        EAbort::raiseIfRequested(options.stop);
        const std::uint8_t* samples = plane + static_cast<std::ptrdiff_t>(y) * stride;
        if (deep) {
            narrow(samples, row, bits);
        } else {
            std::copy(samples, samples + row.size(), row.begin());
        }
        if (premultiplied) {
            unpremultiply(row);
        }
        if (alpha) {
            PictureRows::putRgba(pixels, y, row.data(), options.background);
        } else {
            PictureRows::putRgb(pixels, y, row.data());
        }
    }
}

// The size the file declares, turned as shown, is checked before anything is decoded. The
// library sizes a grid's or an overlay's canvas by its own description, which need not
// match what the file declares: a few bytes could claim gigabytes. No side of a canvas or of
// a coded picture (padded to whole coding blocks) may then pass the declared picture's longer
// side by more than a block, nor the library's own bound.
void sizeBeforeDecoding(heif_context& context, const heif_image_handle& handle, TBitmap& pixels) {
    PictureRows::allocate(pixels, std::max(0, heif_image_handle_get_width(&handle)),
                          std::max(0, heif_image_handle_get_height(&handle)), Kind);
    const int longest = std::max(heif_image_handle_get_ispe_width(&handle),
                                 heif_image_handle_get_ispe_height(&handle));
    heif_context_set_maximum_image_size_limit(
        &context, std::clamp(longest + LargestBlock + 1, 1, LongestSide));
}

} // namespace

void HeifReader::read(const std::string& path, const PictureReadOptions& options,
                      DecodedPicture& out) {
    const std::vector<std::uint8_t> bytes = TFileStream::readWhole(path);
    read(bytes.data(), bytes.size(), options, out);
}

void HeifReader::read(const std::uint8_t* bytes, std::size_t size,
                      const PictureReadOptions& options, DecodedPicture& out) {
    initialiseLibrary();
    EAbort::raiseIfRequested(options.stop);
    const Source source{bytes, size};
    const Context context(heif_context_alloc());
    check(heif_context_read_from_memory_without_copy(context.get(), bytes, size, nullptr), source);
    const Handle handle = primaryPicture(*context, source);
    sizeBeforeDecoding(*context, *handle, out.pixels);
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get());
    const bool deeper = deep(*handle);
    const Image image = decode(*handle, chromaOf(alpha, deeper), source);
    putRows(*image, alpha, deeper, options, out.pixels);
    out.metadata = HeifMetadata::of(*handle);
    out.note.clear();
}
