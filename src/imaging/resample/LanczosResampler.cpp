#include "imaging/resample/LanczosResampler.h"

#include "core/EAbort.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/resample/LanczosWeights.h"
#include "imaging/resample/SrgbTables.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Floats a pixel takes while filtered: blue, green, red and one unused, so that a pixel is one
// vector of four and the compiler turns each pixel's arithmetic into single vector operations.
constexpr std::size_t Lanes = 4;

// Source row `bgr` in linear light.
void toLinear(const std::uint8_t* __restrict bgr, std::size_t width, const float* __restrict table,
              float* __restrict linear) {
    for (std::size_t x = 0; x < width; ++x) {
        linear[Lanes * x] = table[bgr[3 * x]];
        linear[Lanes * x + 1] = table[bgr[3 * x + 1]];
        linear[Lanes * x + 2] = table[bgr[3 * x + 2]];
        linear[Lanes * x + 3] = 0.0f;
    }
}

// A whole row of pixels times a weight, into or onto a row of sums: each pixel's four lanes in
// one vector operation.
void setWeighted(float* __restrict sum, const float* __restrict row, float weight,
                 std::size_t width) {
    for (std::size_t x = 0; x < width; ++x) {
        for (std::size_t c = 0; c < Lanes; ++c) {
            sum[Lanes * x + c] = weight * row[Lanes * x + c];
        }
    }
}

void addWeighted(float* __restrict sum, const float* __restrict row, float weight,
                 std::size_t width) {
    for (std::size_t x = 0; x < width; ++x) {
        for (std::size_t c = 0; c < Lanes; ++c) {
            sum[Lanes * x + c] += weight * row[Lanes * x + c];
        }
    }
}

// One output row filtered along from `column` (the source's width, in linear light).
void filterAlong(const float* __restrict column, const LanczosWeights& across,
                 const SrgbTables& srgb, std::uint8_t* __restrict bgr) {
    for (int x = 0; x < across.outputSize(); ++x) {
        const float* __restrict weights = across.weights(x);
        const float* __restrict pixels = column + Lanes * static_cast<std::size_t>(across.first(x));
        float sum[Lanes] = {};
        const int count = across.count(x);
        for (int k = 0; k < count; ++k) {
            for (std::size_t c = 0; c < Lanes; ++c) {
                sum[c] += weights[k] * pixels[Lanes * static_cast<std::size_t>(k) + c];
            }
        }
        for (std::size_t c = 0; c < 3; ++c) {
            bgr[3 * static_cast<std::size_t>(x) + c] = srgb.toSrgb(sum[c]);
        }
    }
}

struct Pictures {
    const std::uint8_t* sourceTop;
    std::ptrdiff_t sourceStep;
    std::size_t sourceWidth;
    std::uint8_t* targetTop;
    std::ptrdiff_t targetStep;
};

// The output rows first .. end - 1, with the rows of floats they need.
class Band {
public:
    Band(int first, int end, int ringRows, std::size_t sourceWidth)
        : first_(first), end_(end), ringRows_(ringRows), width_(sourceWidth),
          rowFloats_(Lanes * sourceWidth),
          floats_(static_cast<std::size_t>(ringRows + 1) * rowFloats_) {}

    void run(const Pictures& pictures, const LanczosWeights& across, const LanczosWeights& down,
             const std::stop_token& stop) {
        const SrgbTables& srgb = SrgbTables::instance();
        float* linear = floats_.data() + static_cast<std::size_t>(ringRows_) * rowFloats_;
        const int sourceEnd = down.first(end_ - 1) + down.count(end_ - 1);
        int opened = first_; // output rows first_ .. opened - 1 have begun
        int finished = first_;
        for (int source = down.first(first_); source < sourceEnd; ++source) {
            if (stop.stop_requested()) {
                return;
            }
            toLinear(pictures.sourceTop + source * pictures.sourceStep, pictures.sourceWidth,
                     srgb.linearTable(), linear);
            while (opened < end_ && down.first(opened) <= source) {
                ++opened;
            }
            for (int y = finished; y < opened; ++y) {
                const int tap = source - down.first(y);
                const float weight = down.weights(y)[tap];
                if (tap == 0) {
                    setWeighted(sum(y), linear, weight, width_);
                } else {
                    addWeighted(sum(y), linear, weight, width_);
                }
            }
            while (finished < opened && down.first(finished) + down.count(finished) - 1 <= source) {
                filterAlong(sum(finished), across, srgb,
                            pictures.targetTop + finished * pictures.targetStep);
                ++finished;
            }
        }
    }

private:
    float* sum(int outputRow) {
        return floats_.data() + static_cast<std::size_t>(outputRow % ringRows_) * rowFloats_;
    }

    int first_;
    int end_;
    int ringRows_;
    std::size_t width_;
    std::size_t rowFloats_;
    std::vector<float> floats_;
};

int threadCount(const TBitmap& source, PixelSize size, int asked) {
    int count = asked;
    if (count <= 0) {
        const long long pixels = static_cast<long long>(source.width()) * source.height();
        count = pixels < LanczosResampler::PixelsForThreads
                    ? 1
                    : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    }
    return std::clamp(count, 1, size.height);
}

} // namespace

void LanczosResampler::resize(const TBitmap& source, PixelSize size, TBitmap& target,
                              std::stop_token stop, int threads) {
    if (source.empty() || source.width() <= 0 || source.height() <= 0) {
        throw std::invalid_argument("nothing to resample in an empty picture");
    }
    if (size.width <= 0 || size.height <= 0) {
        throw std::invalid_argument("a resampled picture needs at least one pixel");
    }
    TBitmap converted;
    const TBitmap* pixels = &source;
    if (source.pixelFormat() != TPixelFormat::Bits24) {
        converted.CopyFrom(&source);
        converted.setPixelFormat(TPixelFormat::Bits24);
        pixels = &converted;
    }
    const LanczosWeights across(pixels->width(), size.width);
    const LanczosWeights down(pixels->height(), size.height);
    TBitmap result;
    result.setPixelFormat(TPixelFormat::Bits24);
    result.setSizeToOverwrite(size.width, size.height, true);
    const Pictures pictures{pixels->scanLine(0), pixels->rowStep(),
                            static_cast<std::size_t>(pixels->width()), result.scanLine(0),
                            result.rowStep()};

    // Every buffer is made here, so the threads allocate nothing and cannot fail.
    const int count = threadCount(*pixels, size, threads);
    const int ringRows = down.mostOutputsOfOneSource();
    std::vector<Band> bands;
    bands.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        bands.emplace_back(static_cast<int>(static_cast<long long>(size.height) * i / count),
                           static_cast<int>(static_cast<long long>(size.height) * (i + 1) / count),
                           ringRows, pictures.sourceWidth);
    }
    // Band 0 and any band no thread could be started for run on the calling thread.
    std::vector<std::thread> workers;
    std::size_t started = 1;
    try {
        for (; started < bands.size(); ++started) {
            workers.emplace_back(
                [&, started] { bands[started].run(pictures, across, down, stop); });
        }
    } catch (const std::system_error&) {
    }
    bands[0].run(pictures, across, down, stop);
    for (std::size_t i = started; i < bands.size(); ++i) {
        bands[i].run(pictures, across, down, stop);
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    EAbort::raiseIfRequested(stop);
    target.CopyFrom(&result);
}
