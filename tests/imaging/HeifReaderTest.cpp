// HEIF and AVIF files made with the library's own encoders, read as the command line reads
// them: upright, laid on the background, with the colours and metadata a JPEG file needs.
#include "imaging/formats/HeifReader.h"

#include "core/EAbort.h"
#include "core/EFOpenError.h"
#include "imaging/formats/EPictureFile.h"
#include "imaging/formats/MatrixProfile.h"
#include "imaging/metadata/ExifBlock.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <libheif/heif.h>
#include <optional>

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int Width = 64, Height = 32;
constexpr std::uint32_t Red = 0x0000FF, Blue = 0xFF0000, White = 0xFFFFFF, Green = 0x00FF00;

// A picture whose top-left quarter is red and the rest blue, so any turn shows; with alpha,
// its left half is half transparent.
struct Sample {
    heif_compression_format codec = heif_compression_HEVC;
    heif_orientation orientation = heif_orientation_normal;
    int bits = 8;
    bool alpha = false;
    bool premultiplied = false;
    Bytes icc{};
    std::optional<std::pair<int, int>> nclx{}; // primaries and transfer numbers
    int width = Width;                         // odd, the picture is a grid of one tile
    bool varied = false;     // every pixel of another colour, instead of the quarters
    const char* chroma = ""; // the encoder's subsampling, "420", "422" or "444"
    std::optional<std::pair<int, bool>> matrix{}; // matrix number and full range
};

double level(const Sample& sample, int x, int y, int channel) {
    if (sample.varied) {
        return 0.5 + 0.3 * std::sin(x * (0.15 + 0.1 * channel) + y * 0.1 * (3 - channel));
    }
    const bool red = x < Width / 2 && y < Height / 2;
    const double alpha = sample.alpha && x < Width / 2 ? 128 / 255.0 : 1;
    const double levels[] = {red ? 1.0 : 0.0, 0, red ? 0.0 : 1.0, alpha};
    return channel < 3 && sample.premultiplied ? levels[channel] * alpha : levels[channel];
}

heif_image* pictureOf(const Sample& sample) {
    heif_image* image = nullptr;
    heif_image_create(sample.width, Height, heif_colorspace_RGB, heif_chroma_444, &image);
    const heif_channel channels[] = {heif_channel_R, heif_channel_G, heif_channel_B,
                                     heif_channel_Alpha};
    for (int c = 0; c < (sample.alpha ? 4 : 3); ++c) {
        heif_image_add_plane(image, channels[c], sample.width, Height, sample.bits);
        int stride = 0;
        std::uint8_t* plane = heif_image_get_plane(image, channels[c], &stride);
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < sample.width; ++x) {
                const auto value = static_cast<std::uint16_t>(
                    std::lround(level(sample, x, y, c) * ((1 << sample.bits) - 1)));
                std::uint8_t* at = plane + y * stride + x * (sample.bits > 8 ? 2 : 1);
                at[0] = static_cast<std::uint8_t>(value);
                if (sample.bits > 8) {
                    at[1] = static_cast<std::uint8_t>(value >> 8);
                }
            }
        }
    }
    heif_image_set_premultiplied_alpha(image, sample.premultiplied);
    if (!sample.icc.empty()) {
        heif_image_set_raw_color_profile(image, "prof", sample.icc.data(), sample.icc.size());
    }
    return image;
}

// Its way up is the file's turn, which the reader applies.
const std::string Xmp = "<rdf:Description tiff:Orientation=\"6\"/>";

// The file, with an EXIF block saying the same way up as the file's turn, and an XMP packet.
Bytes encode(const Sample& sample) {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(context, sample.codec, &encoder);
    heif_encoder_set_lossy_quality(encoder, 90);
    heif_encoder_set_logging_level(encoder, 0);
    if (*sample.chroma) {
        heif_encoder_set_parameter(encoder, "chroma", sample.chroma);
    }
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = sample.orientation;
    options->macOS_compatibility_workaround_no_nclx_profile = 0;
    heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
    if (sample.nclx) {
        heif_nclx_color_profile_set_color_primaries(nclx, std::uint16_t(sample.nclx->first));
        heif_nclx_color_profile_set_transfer_characteristics(nclx,
                                                             std::uint16_t(sample.nclx->second));
        options->output_nclx_profile = nclx;
    }
    if (sample.matrix) {
        nclx->matrix_coefficients = heif_matrix_coefficients(sample.matrix->first);
        nclx->full_range_flag = sample.matrix->second;
        options->output_nclx_profile = nclx;
    }
    heif_image* image = pictureOf(sample);
    if (sample.nclx || sample.matrix) {
        heif_image_set_nclx_color_profile(image, nclx);
    }
    heif_image_handle* handle = nullptr;
    EXPECT_EQ(heif_context_encode_image(context, image, encoder, options, &handle).code, 0);
    const Bytes exif = ExifBlock::orientationAlone(sample.orientation);
    heif_context_add_exif_metadata(context, handle, exif.data(), int(exif.size()));
    heif_context_add_XMP_metadata(context, handle, Xmp.data(), int(Xmp.size()));
    Bytes file;
    heif_writer writer{1, [](heif_context*, const void* data, std::size_t size, void* out) {
                           auto* bytes = static_cast<const std::uint8_t*>(data);
                           static_cast<Bytes*>(out)->insert(static_cast<Bytes*>(out)->end(), bytes,
                                                            bytes + size);
                           return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                       }};
    heif_context_write(context, &writer, &file);
    heif_image_handle_release(handle);
    heif_image_release(image);
    heif_nclx_color_profile_free(nclx);
    heif_encoding_options_free(options);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return file;
}

void read(const Bytes& file, DecodedPicture& out, std::uint32_t background = White) {
    HeifReader::read(file.data(), file.size(), {.background = background, .stop = {}}, out);
}

void expectNear(std::uint32_t colour, std::uint32_t expected, const std::string& where) {
    for (int shift : {0, 8, 16}) {
        EXPECT_NEAR(int(colour >> shift & 0xFF), int(expected >> shift & 0xFF), 8)
            << where << ", channel at bit " << shift;
    }
}

// A colorant tag of a profile (rXYZ, ...), in XYZ under D50.
std::array<double, 3> colorant(const Bytes& icc, const std::string& tag) {
    const auto u32 = [&icc](std::size_t at) {
        return std::uint32_t(icc[at] << 24 | icc[at + 1] << 16 | icc[at + 2] << 8 | icc[at + 3]);
    };
    for (std::size_t entry = 132; icc.size() > 132 && entry < 132 + 12 * u32(128); entry += 12) {
        if (std::string(icc.begin() + long(entry), icc.begin() + long(entry) + 4) == tag) {
            const std::size_t at = u32(entry + 4) + 8;
            return {std::int32_t(u32(at)) / 65536.0, std::int32_t(u32(at + 4)) / 65536.0,
                    std::int32_t(u32(at + 8)) / 65536.0};
        }
    }
    return {};
}

} // namespace

// The HEVC encoder that makes the test files keeps some blocks for the program's whole run;
// the leak checker of the sanitised build is told they are not the reader's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libx265.so\n";
}

TEST(HeifReader, TurnsThePictureUprightAndItsExifWithIt) {
    struct Case {
        heif_compression_format codec;
        heif_orientation orientation;
        int width;
        int redQuarter; // 0 top left, 1 top right, 2 bottom left, 3 bottom right
    };
    for (const Case& c : {Case{heif_compression_HEVC, heif_orientation_normal, 64, 0},
                          Case{heif_compression_HEVC, heif_orientation_rotate_90_cw, 32, 1},
                          Case{heif_compression_HEVC, heif_orientation_flip_horizontally, 64, 1},
                          Case{heif_compression_AV1, heif_orientation_rotate_270_cw, 32, 2},
                          Case{heif_compression_AV1, heif_orientation_rotate_180, 64, 3}}) {
        if (!heif_have_encoder_for_format(c.codec)) {
            continue;
        }
        DecodedPicture out;
        read(encode({.codec = c.codec, .orientation = c.orientation}), out);
        const std::string name =
            "codec " + std::to_string(c.codec) + ", orientation " + std::to_string(c.orientation);
        ASSERT_EQ(out.pixels.width(), c.width) << name;
        ASSERT_EQ(out.pixels.height(), Width * Height / c.width) << name;
        for (int quarter = 0; quarter < 4; ++quarter) {
            const int x = out.pixels.width() * (1 + 2 * (quarter % 2)) / 4;
            const int y = out.pixels.height() * (1 + 2 * (quarter / 2)) / 4;
            expectNear(out.pixels.pixel(x, y), quarter == c.redQuarter ? Red : Blue, name);
        }
        EXPECT_EQ(out.metadata.orientation, 1) << name;
        ASSERT_FALSE(out.metadata.exif.empty()) << name;
        EXPECT_EQ(ExifBlock(out.metadata.exif).orientation(), 1) << name;
    }
}

// The reader turns subsampled planes into rows itself, to hold no third copy of the picture.
TEST(HeifReader, TurnsCodedPlanesIntoTheColoursTheLibraryGives) {
    struct Case {
        heif_compression_format codec;
        const char* chroma;
        std::optional<std::pair<int, bool>> matrix;
        int width = Width; // odd: a grid of one tile
    };
    for (const Case& c : {Case{heif_compression_HEVC, "420", std::nullopt},
                          Case{heif_compression_HEVC, "420", std::nullopt, Width - 1},
                          Case{heif_compression_HEVC, "422", std::pair(6, true)},
                          Case{heif_compression_HEVC, "420", std::pair(1, false)},
                          Case{heif_compression_HEVC, "444", std::pair(6, true)},
                          Case{heif_compression_AV1, "420", std::pair(5, true)}}) {
        if (!heif_have_encoder_for_format(c.codec)) {
            continue;
        }
        const Bytes file =
            encode({.codec = c.codec, .varied = true, .chroma = c.chroma, .matrix = c.matrix});
        DecodedPicture out;
        read(file, out);
        heif_context* context = heif_context_alloc();
        heif_context_read_from_memory_without_copy(context, file.data(), file.size(), nullptr);
        heif_image_handle* handle = nullptr;
        heif_context_get_primary_image_handle(context, &handle);
        heif_image* image = nullptr;
        heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                          nullptr);
        int stride = 0;
        const std::uint8_t* rgb =
            heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
        int worst = 0;
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < c.width * 3; ++x) {
                const int ours = out.pixels.scanLine(y)[x / 3 * 3 + 2 - x % 3];
                worst = std::max(worst, std::abs(ours - rgb[y * stride + x]));
            }
        }
        EXPECT_LE(worst, 1) << c.chroma << ", matrix " << (c.matrix ? c.matrix->first : -1);
        heif_image_release(image);
        heif_image_handle_release(handle);
        heif_context_free(context);
    }
}

TEST(HeifReader, LaysTransparencyOnTheBackground) {
    struct Case {
        int bits;
        bool premultiplied;
        std::uint32_t background, halfBlue;
    };
    for (const Case& c : {Case{8, false, White, 0xFF7F7F}, Case{8, true, White, 0xFF7F7F},
                          Case{8, false, Green, 0x807F00}, Case{10, false, Green, 0x807F00}}) {
        const std::string name = std::to_string(c.bits) + " bits, premultiplied " +
                                 std::to_string(c.premultiplied) + " on " +
                                 std::to_string(c.background);
        DecodedPicture out;
        read(encode({.bits = c.bits, .alpha = true, .premultiplied = c.premultiplied}), out,
             c.background);
        expectNear(out.pixels.pixel(8, 24), c.halfBlue, name);
        expectNear(out.pixels.pixel(48, 24), Blue, name);
    }
}

TEST(HeifReader, KeepsTheProfileOrMakesOneOfTheColourNumbers) {
    const MatrixProfile::Primaries p3{{0.68, 0.32}, {0.265, 0.69}, {0.15, 0.06}, {0.3127, 0.329}};
    const Bytes embedded = MatrixProfile::build(p3, MatrixProfile::Curve::Srgb, "Display P3");
    struct Case {
        Sample sample;
        std::array<double, 3> red; // the profile's red colorant; none for sRGB
    };
    for (const Case& c : {Case{{.icc = embedded}, {0.5151, 0.2412, -0.0011}},
                          Case{{.nclx = std::pair(12, 13)}, {0.5151, 0.2412, -0.0011}},
                          Case{{.codec = heif_compression_AV1, .nclx = std::pair(9, 13)},
                               {0.6734, 0.2790, -0.0019}},
                          Case{{.nclx = std::pair(1, 13)}, {}}}) {
        if (!heif_have_encoder_for_format(c.sample.codec)) {
            continue;
        }
        DecodedPicture out;
        read(encode(c.sample), out);
        const std::string name = c.sample.nclx ? std::to_string(c.sample.nclx->first) : "icc";
        if (!c.sample.icc.empty()) {
            EXPECT_EQ(out.metadata.iccProfile, c.sample.icc);
        }
        const std::array<double, 3> red = colorant(out.metadata.iccProfile, "rXYZ");
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(red[i], c.red[i], 0.0005) << name;
        }
        const std::string header("http://ns.adobe.com/xap/1.0/\0", 29);
        ASSERT_EQ(out.metadata.xmp.size(), 1u) << name;
        EXPECT_EQ(std::string(out.metadata.xmp[0].begin(), out.metadata.xmp[0].end()),
                  header + "<rdf:Description tiff:Orientation=\"1\"/>");
    }
}

TEST(HeifReader, RefusesDamagedFilesWithAReason) {
    const Bytes good = encode({});
    const auto cut = [&good](std::size_t size) {
        return Bytes(good.begin(), good.begin() + long(size));
    };
    Bytes huge = good; // every size box claims 20000 x 20000 pixels
    const std::string ispe = "ispe";
    for (auto at = huge.begin();
         (at = std::search(at, huge.end(), ispe.begin(), ispe.end())) != huge.end(); at += 4) {
        std::copy_n(Bytes{0, 0, 0x4E, 0x20, 0, 0, 0x4E, 0x20}.begin(), 8, at + 8);
    }
    Bytes grid = encode({.width = Width - 1}); // its canvas said to be 30000 x 30000 pixels
    const std::string idat = "idat";
    std::copy_n(Bytes{0x75, 0x30, 0x75, 0x30}.begin(), 4,
                std::search(grid.begin(), grid.end(), idat.begin(), idat.end()) + 8);
    Bytes meta = good; // its boxes named wrongly
    std::search(meta.begin(), meta.end(), "meta", "meta" + 4)[0] = 'x';
    struct Case {
        const char* name;
        Bytes file;
        std::string reason;
    };
    for (const Case& c :
         {Case{"empty", {}, ""}, Case{"header only", cut(12), ""},
          Case{"pixels cut short", cut(good.size() - 10), ""}, Case{"no meta box", meta, ""},
          Case{"beyond the bound", huge, "megapixels"},
          Case{"a grid beyond its size", grid, "exceeds"}}) {
        try {
            DecodedPicture out;
            read(c.file, out);
            ADD_FAILURE() << c.name << " was read";
        } catch (const EPictureFile& error) {
            EXPECT_EQ(error.message(), "not a valid HEIF file") << c.name;
            EXPECT_NE(error.reason().find(c.reason), std::string::npos) << c.name;
            EXPECT_FALSE(error.reason().empty()) << c.name;
        }
    }
    DecodedPicture out;
    EXPECT_THROW(HeifReader::read("/nonexistent/file.heic", {}, out), EFOpenError);
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(HeifReader::read(good.data(), good.size(), {.stop = stop.get_token()}, out),
                 EAbort);
}
