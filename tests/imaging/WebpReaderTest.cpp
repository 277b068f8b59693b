// WebP files made with the library's encoder and Debian's webpmux, read as the command line
// reads them: laid on the background, an animation's first frame, the metadata kept.
#include "imaging/formats/WebpReader.h"

#include "core/EAbort.h"
#include "core/EFOpenError.h"
#include "imaging/formats/EPictureFile.h"
#include "imaging/formats/MatrixProfile.h"
#include "imaging/metadata/ExifBlock.h"
#include "support/ReferenceTool.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <webp/encode.h>

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;
constexpr int Width = 64, Height = 32;
constexpr std::uint32_t Red = 0x0000FF, Blue = 0xFF0000, White = 0xFFFFFF, Green = 0x00FF00;

// Top-left quarter red, the rest blue, all of one colour when `only` is given; with alpha,
// the left half is half transparent.
Bytes encode(bool lossless, bool alpha, int width = Width, int height = Height,
             std::optional<std::uint32_t> only = std::nullopt) {
    Bytes rgba;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t colour =
                only.value_or(x < width / 2 && y < height / 2 ? Red : Blue);
            rgba.insert(rgba.end(), {std::uint8_t(colour), std::uint8_t(colour >> 8),
                                     std::uint8_t(colour >> 16),
                                     std::uint8_t(alpha && x < width / 2 ? 128 : 255)});
        }
    }
    std::uint8_t* out = nullptr;
    const std::size_t size =
        lossless ? WebPEncodeLosslessRGBA(rgba.data(), width, height, width * 4, &out)
                 : WebPEncodeRGBA(rgba.data(), width, height, width * 4, 95, &out);
    Bytes file(out, out + size);
    WebPFree(out);
    return file;
}

fs::path save(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

Bytes load(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

// A 64 x 32 canvas whose first frame is 32 x 16 red at (16, 8), its second all blue.
Bytes animation(const fs::path& folder) {
    save(folder / "first.webp", encode(true, false, 32, 16, Red));
    save(folder / "second.webp", encode(true, false, Width, Height, Blue));
    EXPECT_EQ(runReferenceTool({"webpmux", "-frame", (folder / "first.webp").string(), "+100+16+8",
                                "-frame", (folder / "second.webp").string(), "+100+0+0", "-loop",
                                "0", "-o", (folder / "animation.webp").string()}),
              0);
    return load(folder / "animation.webp");
}

void read(const Bytes& file, DecodedPicture& out, std::uint32_t background = White) {
    WebpReader::read(file.data(), file.size(), {.background = background, .stop = {}}, out);
}

void expectNear(std::uint32_t colour, std::uint32_t expected, const std::string& where) {
    for (int shift : {0, 8, 16}) {
        EXPECT_NEAR(int(colour >> shift & 0xFF), int(expected >> shift & 0xFF), 8)
            << where << ", channel at bit " << shift;
    }
}

} // namespace

TEST(WebpReader, ReadsLossyAndLosslessPicturesOnTheBackground) {
    struct Case {
        bool lossless, alpha;
        std::uint32_t background, halfBlue;
    };
    for (const Case& c : {Case{true, true, White, 0xFF7F7F}, Case{true, true, Green, 0x807F00},
                          Case{false, true, Green, 0x807F00}, Case{false, false, Green, Blue}}) {
        const std::string name = std::string(c.lossless ? "lossless" : "lossy") +
                                 (c.alpha ? " with alpha on " : " on ") +
                                 std::to_string(c.background);
        DecodedPicture out;
        read(encode(c.lossless, c.alpha), out, c.background);
        ASSERT_EQ(out.pixels.width(), Width) << name;
        ASSERT_EQ(out.pixels.height(), Height) << name;
        expectNear(out.pixels.pixel(8, 24), c.halfBlue, name);
        expectNear(out.pixels.pixel(48, 24), Blue, name);
        expectNear(out.pixels.pixel(48, 8), Blue, name);
        EXPECT_EQ(out.note, "") << name;
    }
}

TEST(WebpReader, ReadsTheFirstFrameOfAnAnimationOnTheBackground) {
    if (!referenceToolExists("webpmux")) {
        GTEST_SKIP() << "webpmux (Debian's webp) is not installed";
    }
    const Bytes file = animation(freshTestFolder("webp-animation"));
    for (const std::uint32_t background : {White, Green}) {
        DecodedPicture out;
        read(file, out, background);
        ASSERT_EQ(out.pixels.width(), Width);
        expectNear(out.pixels.pixel(4, 4), background, "outside the first frame");
        expectNear(out.pixels.pixel(32, 28), background, "outside the first frame");
        expectNear(out.pixels.pixel(32, 16), Red, "inside the first frame");
        EXPECT_EQ(out.note, "animated: only the first of 2 frames was read");
    }
}

TEST(WebpReader, KeepsTheProfileExifAndXmp) {
    if (!referenceToolExists("webpmux")) {
        GTEST_SKIP() << "webpmux (Debian's webp) is not installed";
    }
    const fs::path folder = freshTestFolder("webp-metadata");
    const Bytes icc =
        MatrixProfile::build({{0.68, 0.32}, {0.265, 0.69}, {0.15, 0.06}, {0.3127, 0.329}},
                             MatrixProfile::Curve::Srgb, "Display P3");
    const Bytes tiff = ExifBlock::orientationAlone(6);
    const std::string xmp = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"/>";
    save(folder / "icc", icc);
    save(folder / "xmp", Bytes(xmp.begin(), xmp.end()));
    // Some writers keep a JPEG's "Exif\0\0" before the TIFF bytes.
    for (const std::string& prefix : {std::string(), std::string("Exif\0\0", 6)}) {
        Bytes exif(prefix.begin(), prefix.end());
        exif.insert(exif.end(), tiff.begin(), tiff.end());
        save(folder / "exif", exif);
        fs::path file = save(folder / "0.webp", encode(false, false));
        for (const std::string chunk : {"icc", "exif", "xmp"}) {
            const fs::path next = folder / (chunk + ".webp");
            ASSERT_EQ(runReferenceTool({"webpmux", "-set", chunk, (folder / chunk).string(),
                                        file.string(), "-o", next.string()},
                                       folder / "log"),
                      0);
            file = next;
        }
        DecodedPicture out;
        read(load(file), out);
        EXPECT_EQ(out.metadata.iccProfile, icc);
        EXPECT_EQ(out.metadata.exif, tiff) << prefix.size();
        EXPECT_EQ(out.metadata.orientation, 6) << prefix.size();
        ASSERT_EQ(out.metadata.xmp.size(), 1u);
        EXPECT_EQ(std::string(out.metadata.xmp[0].begin(), out.metadata.xmp[0].end()),
                  std::string("http://ns.adobe.com/xap/1.0/\0", 29) + xmp);
    }
}

TEST(WebpReader, RefusesDamagedFilesWithAReason) {
    if (!referenceToolExists("webpmux")) {
        GTEST_SKIP() << "webpmux (Debian's webp) is not installed";
    }
    const Bytes good = encode(true, true);
    const auto cut = [&good](std::size_t size) {
        return Bytes(good.begin(), good.begin() + long(size));
    };
    Bytes damaged = good; // the compressed pixels overwritten
    std::fill(damaged.begin() + 25, damaged.end(), 0xFF);
    Bytes huge = animation(freshTestFolder("webp-huge")); // a canvas of 20000 x 20000 pixels
    std::copy_n(Bytes{0x1F, 0x4E, 0, 0x1F, 0x4E, 0}.begin(), 6, huge.begin() + 24);
    struct Case {
        const char* name;
        Bytes file;
        std::string reason;
    };
    for (const Case& c : {Case{"empty", {}, "cut short"}, Case{"header only", cut(12), "cut short"},
                          Case{"pixels cut short", cut(good.size() - 10), "cut short"},
                          Case{"damaged pixels", damaged, "damaged"},
                          Case{"beyond the bound", huge, "megapixels"}}) {
        try {
            DecodedPicture out;
            read(c.file, out);
            ADD_FAILURE() << c.name << " was read";
        } catch (const EPictureFile& error) {
            EXPECT_EQ(error.message(), "not a valid WebP file") << c.name;
            EXPECT_NE(error.reason().find(c.reason), std::string::npos)
                << c.name << ": " << error.reason();
        }
    }
    DecodedPicture out;
    EXPECT_THROW(WebpReader::read("/nonexistent/file.webp", {}, out), EFOpenError);
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(WebpReader::read(good.data(), good.size(), {.stop = stop.get_token()}, out),
                 EAbort);
}
