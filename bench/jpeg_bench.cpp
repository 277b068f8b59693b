// The JPEG picture against bare library calls doing the same work on a 12-megapixel
// picture, in one run. Prints adapter/bare time ratios at the end.

#include "core/TMemoryStream.h"
#include "imaging/TBitmap.h"
#include "imaging/TJPEGData.h"
#include "imaging/TJPEGImage.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <jpeglib.h>
#include <map>
#include <vector>

namespace {

constexpr int Width = 4000;
constexpr int Height = 3000;
constexpr int Quality = 90;

const TBitmap& sourceBitmap() {
    static TBitmap bitmap;
    if (bitmap.empty()) {
        bitmap.setPixelFormat(TPixelFormat::Bits24);
        bitmap.setSize(Width, Height);
        for (int y = 0; y < Height; ++y) {
            std::uint8_t* row = bitmap.scanLine(y);
            for (int x = 0; x < Width; ++x) {
                row[x * 3 + 0] = static_cast<std::uint8_t>(x * 255 / Width);
                row[x * 3 + 1] = static_cast<std::uint8_t>(y * 255 / Height);
                row[x * 3 + 2] =
                    static_cast<std::uint8_t>(128 + 90 * std::sin(x * 0.05 + y * 0.03));
            }
        }
    }
    return bitmap;
}

const TJPEGImage& encodedPicture() {
    static TJPEGImage jpeg;
    if (jpeg.empty()) {
        jpeg.CopyFrom(&sourceBitmap());
        jpeg.setQuality(Quality);
        jpeg.Encode();
    }
    return jpeg;
}

void adapterEncode(benchmark::State& state) {
    for (auto _ : state) {
        TJPEGImage jpeg;
        jpeg.CopyFrom(&sourceBitmap());
        jpeg.setQuality(Quality);
        jpeg.Encode();
        benchmark::DoNotOptimize(jpeg.data().Bytes->size());
    }
}

void bareEncode(benchmark::State& state) {
    const TBitmap& bitmap = sourceBitmap();
    for (auto _ : state) {
        jpeg_compress_struct cinfo;
        jpeg_error_mgr errors;
        cinfo.err = jpeg_std_error(&errors);
        jpeg_create_compress(&cinfo);
        unsigned char* buffer = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&cinfo, &buffer, &size);
        cinfo.image_width = Width;
        cinfo.image_height = Height;
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&cinfo);
        cinfo.dct_method = JDCT_FLOAT;
        jpeg_set_quality(&cinfo, Quality, TRUE);
        jpeg_start_compress(&cinfo, TRUE);
        while (cinfo.next_scanline < cinfo.image_height) {
            JSAMPROW row =
                const_cast<JSAMPROW>(bitmap.scanLine(static_cast<int>(cinfo.next_scanline)));
            jpeg_write_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_compress(&cinfo);
        jpeg_destroy_compress(&cinfo);
        benchmark::DoNotOptimize(size);
        std::free(buffer);
    }
}

void adapterDecode(benchmark::State& state) {
    const TJPEGImage& encoded = encodedPicture();
    for (auto _ : state) {
        TJPEGImage jpeg;
        jpeg.CopyFrom(&encoded);
        benchmark::DoNotOptimize(jpeg.Decode().scanLine(0));
    }
}

void bareDecode(benchmark::State& state) {
    TMemoryStream& bytes = *encodedPicture().data().Bytes;
    for (auto _ : state) {
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr errors;
        cinfo.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, bytes.memory(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&cinfo, TRUE);
        cinfo.dct_method = JDCT_FLOAT;
        cinfo.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&cinfo);
        const std::size_t stride = (std::size_t{cinfo.output_width} * 3 + 3) & ~std::size_t{3};
        std::vector<JSAMPLE> pixels(stride * cinfo.output_height, 0xFF);
        while (cinfo.output_scanline < cinfo.output_height) { // bottom-up, as a bitmap
            JSAMPROW row = &pixels[stride * (cinfo.output_height - 1 - cinfo.output_scanline)];
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(pixels.data());
    }
}

// Keeps each benchmark's CPU time per iteration (steadier than wall time on a shared
// machine) so the ratios can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            times[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

BENCHMARK(adapterEncode)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(bareEncode)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(adapterDecode)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(bareDecode)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    sourceBitmap();
    encodedPicture();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* operation : {"Encode", "Decode"}) {
        const std::string adapter = std::string("adapter") + operation + "/min_time:2.000";
        const std::string bare = std::string("bare") + operation + "/min_time:2.000";
        if (reporter.times.count(adapter) && reporter.times.count(bare)) {
            std::printf("%s: adapter / bare = %.3f\n", operation,
                        reporter.times[adapter] / reporter.times[bare]);
        }
    }
    benchmark::Shutdown();
    return 0;
}
