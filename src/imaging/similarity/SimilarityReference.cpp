#include "imaging/similarity/SimilarityReference.h"

#include "core/EAbort.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/similarity/LumaRows.h"
#include "imaging/similarity/MomentRing.h"
#include "imaging/similarity/RowBands.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace {

constexpr float C1 = (0.01f * 255) * (0.01f * 255);
constexpr float C2 = (0.03f * 255) * (0.03f * 255);
// Brightness is centred on 0 before it is squared: squares up to 128^2 instead of 255^2
// lose less to the float's 24 bits when a variance is taken as a difference of two of them.
constexpr float Offset = 128;

int radiusFor(int side) {
    return std::clamp((side - 1) / 2, 0, SeparableFilter::MaxRadius);
}

// Adds up a row in double, eight running sums side by side so the loop need not wait on
// each addition; their order is fixed, so the total is too.
double sumOf(const float* values, std::size_t count) {
    std::array<double, 8> lanes{};
    std::size_t x = 0;
    for (; x + lanes.size() <= count; x += lanes.size()) {
        for (std::size_t lane = 0; lane < lanes.size(); ++lane) {
            lanes[lane] += values[x + lane];
        }
    }
    double total = 0;
    for (; x < count; ++x) {
        total += values[x];
    }
    for (const double lane : lanes) {
        total += lane;
    }
    return total;
}

// What every band reads: the loaded picture's brightness and the window.
struct Window {
    const LumaPlane& luma;
    const SeparableFilter& alongRow;
    const SeparableFilter& acrossRows;
    std::size_t outWidth;

    std::size_t start(int top) const { return static_cast<std::size_t>(top) * outWidth; }
};

// The loaded picture's mean and variance at each output position.
struct Moments {
    float* mean;
    float* variance;
};

// The loaded picture's mean and variance under the window, for one band of output rows.
class ReferenceBand {
public:
    ReferenceBand(const Window& window, Moments out, const std::stop_token& stop)
        : window_(window), out_(out), rows_(window.luma),
          ring_(2, static_cast<std::size_t>(window.luma.width), window.alongRow, window.acrossRows),
          squares_(window.outWidth), stop_(stop) {}

    // Compiled also for AVX2, as the filter's passes are (see SeparableFilter.cpp).
    [[gnu::target_clones("avx2", "default")]] void operator()(int first, int end) {
        const int overlap = window_.acrossRows.taps() - 1;
        for (int y = first; y < end + overlap && !stop_.stop_requested(); ++y) {
            load(y);
            if (y - overlap >= first) {
                finish(y - overlap);
            }
        }
    }

private:
    void load(int y) {
        const std::uint8_t* a = rows_.row(y);
        float* value = ring_.source(0);
        float* square = ring_.source(1);
        for (std::size_t x = 0; x < ring_.width(); ++x) {
            value[x] = a[x] - Offset;
            square[x] = value[x] * value[x];
        }
        ring_.push(y);
    }

    void finish(int top) {
        float* mean = out_.mean + window_.start(top);
        float* variance = out_.variance + window_.start(top);
        ring_.across(top, 0, mean);
        ring_.across(top, 1, squares_.data());
        for (std::size_t x = 0; x < window_.outWidth; ++x) {
            variance[x] = squares_[x] - mean[x] * mean[x];
        }
    }

    const Window& window_;
    Moments out_;
    LumaRows rows_;
    MomentRing ring_;
    std::vector<float> squares_;
    const std::stop_token& stop_;
};

// A candidate's moments and the similarity at each position, for one band of output
// rows; each output row's sum goes to its own place.
class CandidateBand {
public:
    CandidateBand(const Window& window, const float* meanA, const float* varianceA,
                  LumaRows candidate, std::vector<double>& rowSums, const std::stop_token& stop)
        : window_(window), meanA_(meanA), varianceA_(varianceA), reference_(window.luma),
          candidate_(std::move(candidate)),
          ring_(3, static_cast<std::size_t>(window.luma.width), window.alongRow, window.acrossRows),
          work_(4 * window.outWidth), rowSums_(rowSums), stop_(stop) {}

    // Compiled also for AVX2, as the filter's passes are (see SeparableFilter.cpp).
    [[gnu::target_clones("avx2", "default")]] void operator()(int first, int end) {
        const int overlap = window_.acrossRows.taps() - 1;
        for (int y = first; y < end + overlap && !stop_.stop_requested(); ++y) {
            load(y);
            if (y - overlap >= first) {
                rowSums_[static_cast<std::size_t>(y - overlap)] = similarity(y - overlap);
            }
        }
    }

private:
    void load(int y) {
        const std::uint8_t* a = reference_.row(y);
        const std::uint8_t* b = candidate_.row(y);
        float* value = ring_.source(0);
        float* square = ring_.source(1);
        float* product = ring_.source(2);
        for (std::size_t x = 0; x < ring_.width(); ++x) {
            value[x] = b[x] - Offset;
            square[x] = value[x] * value[x];
            product[x] = (a[x] - Offset) * value[x];
        }
        ring_.push(y);
    }

    double similarity(int top) {
        const std::size_t count = window_.outWidth;
        float* meanB = work_.data();
        float* squareB = meanB + count;
        float* product = squareB + count;
        float* score = product + count;
        ring_.across(top, 0, meanB);
        ring_.across(top, 1, squareB);
        ring_.across(top, 2, product);
        combine(meanA_ + window_.start(top), varianceA_ + window_.start(top), meanB, squareB,
                product, score);
        return sumOf(score, count);
    }

    void combine(const float* __restrict meanA, const float* __restrict varianceA,
                 const float* __restrict meanB, const float* __restrict squareB,
                 const float* __restrict product, float* __restrict score) const {
        for (std::size_t x = 0; x < window_.outWidth; ++x) {
            const float a = meanA[x] + Offset;
            const float b = meanB[x] + Offset;
            const float covariance = product[x] - meanA[x] * meanB[x];
            const float varianceB = squareB[x] - meanB[x] * meanB[x];
            // Identical windows give exactly 1: the covariance is then the same float as
            // each variance, and both sides of each fraction are rounded alike.
            score[x] = ((2 * a * b + C1) * (2 * covariance + C2)) /
                       ((a * a + b * b + C1) * (varianceA[x] + varianceB + C2));
        }
    }

    const Window& window_;
    const float* meanA_;
    const float* varianceA_;
    LumaRows reference_;
    LumaRows candidate_;
    MomentRing ring_;
    std::vector<float> work_;
    std::vector<double>& rowSums_;
    const std::stop_token& stop_;
};

bool readInPlace(const TBitmap& bitmap) {
    switch (bitmap.pixelFormat()) {
    case TPixelFormat::Bits24:
    case TPixelFormat::Bits32:
    case TPixelFormat::Device:
        return true;
    default:
        return false;
    }
}

} // namespace

SimilarityReference::SimilarityReference(const TBitmap& loaded, unsigned threads)
    : SimilarityReference(LumaPlane::of(loaded), {}, threads) {}

SimilarityReference::SimilarityReference(const TBitmap& loaded, std::stop_token stop)
    : SimilarityReference(LumaPlane::of(loaded), std::move(stop)) {}

SimilarityReference::SimilarityReference(LumaPlane loaded, unsigned threads)
    : SimilarityReference(std::move(loaded), {}, threads) {}

SimilarityReference::SimilarityReference(LumaPlane loaded, std::stop_token stop, unsigned threads)
    : luma_(std::move(loaded)), threads_(threads), alongRow_(radiusFor(luma_.width)),
      acrossRows_(radiusFor(luma_.height)),
      outWidth_(static_cast<std::size_t>(std::max(0, luma_.width - 2 * alongRow_.radius()))),
      outHeight_(std::max(0, luma_.height - 2 * acrossRows_.radius())) {
    if (luma_.width <= 0 || luma_.height <= 0) {
        throw std::invalid_argument("an empty picture");
    }
    computeMoments(stop);
    if (stop.stop_requested()) {
        throw EAbort(); // half the moments are no reference
    }
}

void SimilarityReference::computeMoments(const std::stop_token& stop) {
    mean_.resize(outWidth_ * static_cast<std::size_t>(outHeight_));
    variance_.resize(mean_.size());
    const Window window{luma_, alongRow_, acrossRows_, outWidth_};
    const Moments out{mean_.data(), variance_.data()};
    RowBands::run(outHeight_, threads_, [&] { return ReferenceBand(window, out, stop); });
}

std::size_t SimilarityReference::memoryBytes() const {
    return luma_.values.size() + (mean_.size() + variance_.size()) * sizeof(float);
}

std::optional<double> SimilarityReference::score(const TBitmap& candidate,
                                                 std::stop_token stop) const {
    if (readInPlace(candidate)) {
        return scoreRows(
            candidate.width(), candidate.height(), [&] { return LumaRows(candidate); }, stop);
    }
    const LumaPlane plane = LumaPlane::of(candidate); // converted once for every thread
    return score(plane, stop);
}

std::optional<double> SimilarityReference::score(const LumaPlane& candidate,
                                                 std::stop_token stop) const {
    return scoreRows(
        candidate.width, candidate.height, [&] { return LumaRows(candidate); }, stop);
}

template <class MakeRows>
std::optional<double> SimilarityReference::scoreRows(int width, int height, MakeRows makeRows,
                                                     std::stop_token stop) const {
    if (width != luma_.width || height != luma_.height) {
        throw std::invalid_argument("pictures of different sizes");
    }
    std::vector<double> rowSums(static_cast<std::size_t>(outHeight_));
    const Window window{luma_, alongRow_, acrossRows_, outWidth_};
    RowBands::run(outHeight_, threads_, [&] {
        return CandidateBand(window, mean_.data(), variance_.data(), makeRows(), rowSums, stop);
    });
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    double total = 0;
    for (const double rowSum : rowSums) {
        total += rowSum;
    }
    return total / (static_cast<double>(outWidth_) * outHeight_);
}
