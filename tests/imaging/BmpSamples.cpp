#include "imaging/BmpSamples.h"

#include <algorithm>

BmpFile quadFile(std::uint16_t bitCount, std::vector<Bytes> storedRows) {
    BmpFile file;
    file.width = 2;
    file.height = 2;
    file.bitCount = bitCount;
    file.pixels = paddedRows(storedRows);
    return file;
}

BmpFile withMasks(BmpFile file, std::vector<std::uint32_t> masks, std::uint32_t headerSize) {
    file.compression = 3;
    file.masks = std::move(masks);
    file.headerSize = headerSize;
    return file;
}

BmpFile withTable(BmpFile file, std::vector<std::uint32_t> table, std::uint32_t used) {
    file.table = std::move(table);
    file.usedColours = used;
    return file;
}

BmpFile core(BmpFile file) {
    file.headerSize = 12;
    return file;
}

std::vector<std::uint32_t> colours(const std::vector<std::uint32_t>& rgbs) {
    std::vector<std::uint32_t> result;
    for (std::uint32_t rgb : rgbs) {
        result.push_back(colour(rgb));
    }
    return result;
}

const BmpFile bits24 = quadFile(24, {{0xFF, 0, 0, 0xFF, 0xFF, 0xFF}, {0, 0, 0xFF, 0, 0xFF, 0}});
const BmpFile bits32 =
    quadFile(32, {{0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}, {0, 0, 0xFF, 0, 0, 0xFF, 0, 0}});
const BmpFile bits555 = quadFile(16, {{0x1F, 0, 0xFF, 0x7F}, {0, 0x7C, 0xE0, 0x03}});
const BmpFile bits565 = withMasks(quadFile(16, {{0x1F, 0, 0xFF, 0xFF}, {0, 0xF8, 0xE0, 0x07}}),
                                  {0xF800, 0x07E0, 0x001F});
const BmpFile bits8 = withTable(quadFile(8, {{2, 3}, {0, 1}}), quad, 4);
const BmpFile bits4 = withTable(quadFile(4, {{0x23}, {0x01}}), quad, 4);
const BmpFile monochrome = withTable(quadFile(1, {{0x40}, {0x80}}), {black, white}, 0);

namespace {

// A core table has all its entries: black but for entry 1, white.
BmpFile coreTable(std::uint16_t bitCount, std::vector<Bytes> rows) {
    std::vector<std::uint32_t> table(std::size_t{1} << bitCount, black);
    table[1] = white;
    return core(withTable(quadFile(bitCount, std::move(rows)), table, 0));
}

BmpFile makeTopDown24() {
    BmpFile file = quadFile(24, {{0, 0, 0xFF, 0, 0xFF, 0}, {0xFF, 0, 0, 0xFF, 0xFF, 0xFF}});
    file.height = -2;
    return file;
}

} // namespace

const BmpFile topDown24 = makeTopDown24();

const std::vector<SampleBitmap>& sampleBitmaps() {
    static const std::vector<SampleBitmap> samples{

        SampleBitmap{"bits1", monochrome, TPixelFormat::Bits1, {white, black, black, white}},
        SampleBitmap{"bits4", bits4, TPixelFormat::Bits4, quad},
        SampleBitmap{"bits8", bits8, TPixelFormat::Bits8, quad},
        SampleBitmap{"bits15", bits555, TPixelFormat::Bits15, quad},
        SampleBitmap{"bits15Masks", withMasks(bits555, {0x7C00, 0x03E0, 0x001F}),
                     TPixelFormat::Bits15, quad},
        SampleBitmap{"bits16", bits565, TPixelFormat::Bits16, quad},
        SampleBitmap{"custom16",
                     withMasks(quadFile(16, {{0x0F, 0, 0xFF, 0x0F}, {0, 0x0F, 0xF0, 0}}),
                               {0x0F00, 0x00F0, 0x000F}),
                     TPixelFormat::Custom, quad},
        SampleBitmap{"bits24", bits24, TPixelFormat::Bits24, quad},
        SampleBitmap{"bits32", bits32, TPixelFormat::Bits32, quad},
        SampleBitmap{"custom32",
                     withMasks(quadFile(32, {{0, 0, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0},
                                             {0xFF, 0, 0, 0, 0, 0xFF, 0, 0}}),
                               {0x0000FF, 0x00FF00, 0xFF0000}),
                     TPixelFormat::Custom, quad},
        SampleBitmap{"core1",
                     coreTable(1, {{0x40}, {0x80}}),
                     TPixelFormat::Bits1,
                     {white, black, black, white}},
        SampleBitmap{"core4",
                     coreTable(4, {{0x01}, {0x10}}),
                     TPixelFormat::Bits4,
                     {white, black, black, white}},
        SampleBitmap{"core24", core(bits24), TPixelFormat::Bits24, quad},
        SampleBitmap{"v4Header565", withMasks(bits565, {0xF800, 0x07E0, 0x001F}, 108),
                     TPixelFormat::Bits16, quad, false},
        SampleBitmap{"v5Header32", withMasks(bits32, {0xFF0000, 0x00FF00, 0x0000FF}, 124),
                     TPixelFormat::Bits32, quad, false},
        SampleBitmap{"topDown24", topDown24, TPixelFormat::Bits24, quad}};
    return samples;
}

const SampleBitmap& sampleBitmap(const std::string& name) {
    const auto& samples = sampleBitmaps();
    return *std::find_if(samples.begin(), samples.end(),
                         [&name](const SampleBitmap& sample) { return sample.name == name; });
}
