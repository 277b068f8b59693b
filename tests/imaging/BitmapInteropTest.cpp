// Outside readers and writers of BMP files: what ImageMagick or Pillow sees in a file must be
// what the bitmap sees in it, in both directions.
#include "core/TLittleEndian.h"
#include "imaging/BmpSamples.h"
#include "imaging/bmp/TBitmap.h"
#include "support/ReferenceTool.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

namespace fs = std::filesystem;

constexpr int pictureWidth = 5; // rows of every format need padding
constexpr int pictureHeight = 3;

Bytes fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void saveBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Red, green, blue bytes of every pixel, top row first, as the tools write them.
Bytes rgbOf(const TBitmap& bitmap) {
    Bytes out;
    for (std::uint32_t value : pixelsOf(bitmap)) {
        out.push_back(static_cast<std::uint8_t>(value));
        out.push_back(static_cast<std::uint8_t>(value >> 8));
        out.push_back(static_cast<std::uint8_t>(value >> 16));
    }
    return out;
}

// Colours with channels of 0 and 255 only, which every format and every tool keeps exactly.
std::uint32_t pureColour(int x, int y) {
    static const std::uint32_t colours[] = {red,   green,    blue,     white,
                                            black, 0xFFFF00, 0x00FFFF, 0xFF00FF};
    return colour(colours[(x + 2 * y) % 8]);
}

void paint(TBitmap& bitmap) {
    bitmap.setSize(pictureWidth, pictureHeight);
    for (int y = 0; y < pictureHeight; ++y) {
        for (int x = 0; x < pictureWidth; ++x) {
            bitmap.setPixel(x, y, pureColour(x, y));
        }
    }
}

// The first Python on hand that has Pillow; the one on PATH may lack it.
std::string pillowPython() {
    static const std::string found = [] {
        for (const char* candidate : {"python3", "/usr/bin/python3"}) {
            if (runReferenceTool({candidate, "-c", "import PIL"}) == 0) {
                return std::string(candidate);
            }
        }
        return std::string();
    }();
    return found;
}

const char* const pillowToRgb =
    "import sys\nfrom PIL import Image\n"
    "open(sys.argv[2], 'wb').write(Image.open(sys.argv[1]).convert('RGB').tobytes())\n";

const char* const pillowFromRgb =
    "import sys\nfrom PIL import Image\n"
    "im = Image.frombytes('RGB', (5, 3), open(sys.argv[1], 'rb').read())\n"
    "im.convert(sys.argv[3]).save(sys.argv[2], 'BMP')\n";

class BitmapInterop : public testing::Test {
protected:
    fs::path folder = freshTestFolder("bitmap-interop");
};

struct WrittenCase {
    const char* name;
    TPixelFormat format;
};

class BitmapsWrittenHere : public BitmapInterop, public testing::WithParamInterface<WrittenCase> {
protected:
    // Writes the painted picture in the case's format; returns the file and what the bitmap
    // itself sees in it.
    fs::path written(Bytes& expected) {
        TBitmap bitmap;
        bitmap.setPixelFormat(GetParam().format);
        paint(bitmap);
        expected = rgbOf(bitmap);
        const fs::path path = folder / (std::string(GetParam().name) + ".bmp");
        saveBytes(path, writeBitmap(bitmap));
        return path;
    }
};

TEST_P(BitmapsWrittenHere, ImageMagickSeesTheSamePixels) {
    if (!referenceToolExists("convert")) {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    Bytes expected;
    const fs::path bmp = written(expected);
    const fs::path rgb = folder / "seen.rgb";
    ASSERT_EQ(runReferenceTool({"convert", bmp.string(), "-depth", "8", "rgb:" + rgb.string()}), 0);
    EXPECT_EQ(fileBytes(rgb), expected);
}

TEST_P(BitmapsWrittenHere, PillowSeesTheSamePixels) {
    const std::string python = pillowPython();
    if (python.empty()) {
        GTEST_SKIP() << "Pillow is not installed";
    }
    Bytes expected;
    const fs::path bmp = written(expected);
    const fs::path rgb = folder / "seen.rgb";
    ASSERT_EQ(runReferenceTool({python, "-c", pillowToRgb, bmp.string(), rgb.string()}), 0);
    EXPECT_EQ(fileBytes(rgb), expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, BitmapsWrittenHere,
                         testing::Values(WrittenCase{"device", TPixelFormat::Device},
                                         WrittenCase{"bits1", TPixelFormat::Bits1},
                                         WrittenCase{"bits4", TPixelFormat::Bits4},
                                         WrittenCase{"bits8", TPixelFormat::Bits8},
                                         WrittenCase{"bits15", TPixelFormat::Bits15},
                                         WrittenCase{"bits16", TPixelFormat::Bits16},
                                         WrittenCase{"bits24", TPixelFormat::Bits24}),
                         caseName);

// The painted picture as the raw red, green, blue bytes the tools take in.
fs::path rawPicture(const fs::path& folder) {
    TBitmap bitmap;
    paint(bitmap);
    const fs::path path = folder / "picture.rgb";
    saveBytes(path, rgbOf(bitmap));
    return path;
}

void expectSameAsImageMagick(const fs::path& bmp, const fs::path& folder) {
    const fs::path rgb = folder / "reference.rgb";
    ASSERT_EQ(runReferenceTool({"convert", bmp.string(), "-depth", "8", "rgb:" + rgb.string()}), 0);
    TBitmap bitmap;
    bitmap.ReadFromFile(bmp.string());
    EXPECT_EQ(bitmap.width(), pictureWidth);
    EXPECT_EQ(bitmap.height(), pictureHeight);
    EXPECT_EQ(rgbOf(bitmap), fileBytes(rgb)) << bmp;
}

struct ToolCase {
    const char* name;
    std::vector<std::string> options;
    const char* coder;
    std::size_t fieldOffset; // a header field that shows the tool wrote the form wanted
    std::uint32_t fieldValue;
};

class BitmapsWrittenByImageMagick : public BitmapInterop,
                                    public testing::WithParamInterface<ToolCase> {};

TEST_P(BitmapsWrittenByImageMagick, ReadAsImageMagickReadsThem) {
    if (!referenceToolExists("convert")) {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    const fs::path bmp = folder / (std::string(GetParam().name) + ".bmp");
    std::vector<std::string> arguments{"convert", "-size", "5x3",
                                       "-depth",  "8",     "rgb:" + rawPicture(folder).string()};
    arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
    arguments.push_back(std::string(GetParam().coder) + ":" + bmp.string());
    ASSERT_EQ(runReferenceTool(arguments), 0);
    const Bytes bytes = fileBytes(bmp);
    ASSERT_GT(bytes.size(), GetParam().fieldOffset + 4);
    const std::uint32_t field = GetParam().fieldOffset == 28
                                    ? TLittleEndian::u16(bytes.data() + 28)
                                    : TLittleEndian::u32(bytes.data() + GetParam().fieldOffset);
    ASSERT_EQ(field, GetParam().fieldValue) << "the tool wrote another form";
    expectSameAsImageMagick(bmp, folder);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, BitmapsWrittenByImageMagick,
    testing::Values(ToolCase{"core24", {}, "BMP2", 14, 12},
                    ToolCase{"info24", {"-type", "TrueColor"}, "BMP3", 28, 24},
                    ToolCase{"v5Rgb565", {"-define", "bmp:subtype=RGB565"}, "BMP", 14, 124},
                    // Eight colours: the tool picks 4 bits per pixel.
                    ToolCase{"palette4", {"-type", "Palette"}, "BMP3", 28, 4},
                    ToolCase{"rle8", {"-type", "Palette", "-compress", "RLE"}, "BMP3", 30, 1},
                    ToolCase{"bilevel", {"-type", "Bilevel"}, "BMP3", 28, 1}),
    caseName);

TEST_F(BitmapInterop, PillowFilesReadAsPillowReadsThem) {
    const std::string python = pillowPython();
    if (python.empty()) {
        GTEST_SKIP() << "Pillow is not installed";
    }
    const fs::path raw = rawPicture(folder);
    for (const char* mode : {"1", "P", "RGB"}) {
        const fs::path bmp = folder / (std::string("pillow-") + mode + ".bmp");
        ASSERT_EQ(runReferenceTool({python, "-c", pillowFromRgb, raw.string(), bmp.string(), mode}),
                  0);
        const fs::path rgb = folder / "reference.rgb";
        ASSERT_EQ(runReferenceTool({python, "-c", pillowToRgb, bmp.string(), rgb.string()}), 0);
        TBitmap bitmap;
        bitmap.ReadFromFile(bmp.string());
        EXPECT_EQ(rgbOf(bitmap), fileBytes(rgb)) << mode;
    }
}

} // namespace
