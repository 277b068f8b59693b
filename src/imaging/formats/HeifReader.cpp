#include "imaging/formats/HeifReader.h"

#include "core/EAbort.h"
#include "core/TFileStream.h"
#include "imaging/formats/EPictureFile.h"
#include "imaging/formats/HeifCodedChroma.h"
#include "imaging/formats/HeifMetadata.h"
#include "imaging/formats/PictureRows.h"
#include "imaging/formats/YCbCrRows.h"

#include <algorithm>
#include <climits>
#include <libheif/heif.h>
#include <memory>
#include <optional>
#include <utility>

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

Image decode(const heif_image_handle& handle, heif_colorspace colorspace, heif_chroma chroma,
             const Source& source) {
    heif_image* image = nullptr;
    const heif_error error = heif_decode_image(&handle, &image, colorspace, chroma, nullptr);
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

// The picture's size, allocated once the library has decoded: while it decodes, it holds the
// coded picture and its conversion, and the rows need not be there too.
void allocate(const heif_image_handle& handle, TBitmap& pixels) {
    PictureRows::allocate(pixels, std::max(0, heif_image_handle_get_width(&handle)),
                          std::max(0, heif_image_handle_get_height(&handle)), Kind);
}

// The chroma layout the library is asked for, as the file codes it, and its subsampling: the
// subsampled ones, whose planes are smaller than the picture.
struct CodedChroma {
    heif_chroma chroma;
    int shiftX, shiftY;
};

std::optional<CodedChroma> codedChroma(const Source& source) {
    using Layout = HeifCodedChroma::Layout;
    switch (HeifCodedChroma::of(source.bytes, source.size).value_or(Layout::None)) {
    case Layout::Half:
        return CodedChroma{heif_chroma_420, 1, 1};
    case Layout::HalfWidth:
        return CodedChroma{heif_chroma_422, 1, 0};
    case Layout::Full: // as many samples as the library's own conversion: nothing saved
    case Layout::None:
        break;
    }
    return std::nullopt;
}

// Whether the file's colours are full-range BT.601, or unnamed, which the library reads as
// such: the conversion done here is then the library's own.
bool phoneMatrix(const heif_image_handle& handle) {
    heif_color_profile_nclx* nclx = nullptr;
    const heif_error error = heif_image_handle_get_nclx_color_profile(&handle, &nclx);
    if (error.code != heif_error_Ok || !nclx) {
        if (nclx) {
            heif_nclx_color_profile_free(nclx); // the library may fill it in and still fail
        }
        return true;
    }
    const int matrix = nclx->matrix_coefficients;
    const bool full = nclx->full_range_flag != 0;
    heif_nclx_color_profile_free(nclx);
    return full && (matrix == heif_matrix_coefficients_ITU_R_BT_601_6 ||
                    matrix == heif_matrix_coefficients_ITU_R_BT_470_6_System_B_G ||
                    matrix == heif_matrix_coefficients_unspecified);
}

YCbCrRows::Plane planeOf(const heif_image& image, heif_channel channel) {
    YCbCrRows::Plane plane;
    plane.samples = heif_image_get_plane_readonly(&image, channel, &plane.stride);
    return plane;
}

bool eightBit(const heif_image& image) {
    for (const heif_channel channel : {heif_channel_Y, heif_channel_Cb, heif_channel_Cr}) {
        if (heif_image_get_bits_per_pixel_range(&image, channel) != 8) {
            return false;
        }
    }
    return true;
}

// The codec's own planes, when they are subsampled 8-bit brightness and colour differences
// in the matrix converted here: the library then makes no full-size copy of its own between
// them and the rows. False, having allocated nothing, for any other picture.
bool putCodedPlanes(const heif_image_handle& handle, const Source& source,
                    const PictureReadOptions& options, TBitmap& pixels) {
    const std::optional<CodedChroma> coded = codedChroma(source);
    if (!coded || !phoneMatrix(handle)) {
        return false;
    }
    const Image image = decode(handle, heif_colorspace_YCbCr, coded->chroma, source);
    if (heif_image_get_colorspace(image.get()) != heif_colorspace_YCbCr ||
        heif_image_get_chroma_format(image.get()) != coded->chroma || !eightBit(*image)) {
        return false;
    }
    YCbCrRows::Planes planes{planeOf(*image, heif_channel_Y), planeOf(*image, heif_channel_Cb),
                             planeOf(*image, heif_channel_Cr), coded->shiftX, coded->shiftY};
    if (!planes.y.samples || !planes.cb.samples || !planes.cr.samples ||
        heif_image_get_width(image.get(), heif_channel_Y) != heif_image_handle_get_width(&handle) ||
        heif_image_get_height(image.get(), heif_channel_Y) !=
            heif_image_handle_get_height(&handle)) {
        throw EPictureFile(Invalid, "the decoded picture is not the size the file gives");
    }
    allocate(handle, pixels);
    YCbCrRows::put(planes, pixels, [&options] { EAbort::raiseIfRequested(options.stop); });
    return true;
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
void sizeBeforeDecoding(heif_context& context, const heif_image_handle& handle) {
    PictureRows::checkSize(std::max(0, heif_image_handle_get_width(&handle)),
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
    sizeBeforeDecoding(*context, *handle);
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get());
    const bool deeper = deep(*handle);
    if (alpha || deeper || !putCodedPlanes(*handle, source, options, out.pixels)) {
        const Image image = decode(*handle, heif_colorspace_RGB, chromaOf(alpha, deeper), source);
        allocate(*handle, out.pixels);
        putRows(*image, alpha, deeper, options, out.pixels);
    }
    out.metadata = HeifMetadata::of(*handle);
    out.note.clear();
}
