#include "imaging/similarity/ScoreBand.h"

#include <algorithm>

namespace {

constexpr float C1 = (0.01f * 255) * (0.01f * 255);
constexpr float C2 = (0.03f * 255) * (0.03f * 255);
// Brightness is centred on 0 before it is squared: squares up to 128^2 instead of 255^2
// lose less to the float's 24 bits when a variance is taken as a difference of two of them.
constexpr float Offset = 128;

// The moments the ring keeps for each pixel.
enum Moment : std::size_t { ValueA, SquareA, ValueB, SquareB, Product, Moments };

// Parameters, not local variables, so the compiler knows the rows apart and runs the loop
// several values at a time.
[[gnu::always_inline]] inline void momentsOf(const std::uint8_t* __restrict a,
                                             const std::uint8_t* __restrict b,
                                             float* __restrict valueA, float* __restrict squareA,
                                             float* __restrict valueB, float* __restrict squareB,
                                             float* __restrict product, std::size_t count) {
    for (std::size_t x = 0; x < count; ++x) {
        const float centredA = a[x] - Offset;
        const float centredB = b[x] - Offset;
        valueA[x] = centredA;
        squareA[x] = centredA * centredA;
        valueB[x] = centredB;
        squareB[x] = centredB * centredB;
        product[x] = centredA * centredB;
    }
}

[[gnu::always_inline]] inline void
similarityOf(const float* __restrict meanA, const float* __restrict squareA,
             const float* __restrict meanB, const float* __restrict squareB,
             const float* __restrict product, float* __restrict score, std::size_t count) {
    for (std::size_t x = 0; x < count; ++x) {
        const float varianceA = squareA[x] - meanA[x] * meanA[x];
        const float varianceB = squareB[x] - meanB[x] * meanB[x];
        const float covariance = product[x] - meanA[x] * meanB[x];
        const float a = meanA[x] + Offset;
        const float b = meanB[x] + Offset;
        // Identical windows give exactly 1: the covariance is then the same float as each
        // variance, and both sides of each fraction are rounded alike.
        score[x] = ((2 * a * b + C1) * (2 * covariance + C2)) /
                   ((a * a + b * b + C1) * (varianceA + varianceB + C2));
    }
}

} // namespace

ScoreBand::ScoreBand(const SeparableFilter& alongRow, const SeparableFilter& acrossRows,
                     LumaRows reference, LumaRows candidate, std::vector<double>& rowSums,
                     const std::stop_token& stop)
    : acrossRows_(acrossRows), overlap_(static_cast<std::size_t>(2 * alongRow.radius())),
      outWidth_(static_cast<std::size_t>(reference.width()) - overlap_),
      reference_(std::move(reference)), candidate_(std::move(candidate)),
      ring_(Moments, std::min(StripWidth, outWidth_) + overlap_, alongRow, acrossRows),
      work_((2 * Moments + 1) * ring_.outWidth()), rowSums_(rowSums), stop_(stop) {}

void ScoreBand::operator()(int first, int end) {
    totals_.assign(static_cast<std::size_t>(end - first), RowTotal());
    for (std::size_t left = 0; left < outWidth_ && !stop_.stop_requested(); left += StripWidth) {
        strip(first, end, left);
    }
    if (stop_.stop_requested()) {
        return;
    }
    for (int y = first; y < end; ++y) {
        rowSums_[static_cast<std::size_t>(y)] =
            totals_[static_cast<std::size_t>(y - first)].total();
    }
}

void ScoreBand::strip(int first, int end, std::size_t left) {
    ring_.resize(std::min(StripWidth, outWidth_ - left) + overlap_);
    const int rowsBelow = acrossRows_.taps() - 1;
    for (int y = first; y < end + rowsBelow && !stop_.stop_requested(); ++y) {
        load(y, left);
        // Output rows are finished two at a time, once the window below the second is in.
        const int top = y - rowsBelow;
        if (top > first && (top - first) % 2 == 1) {
            finish(top - 1, 2, &totals_[static_cast<std::size_t>(top - 1 - first)]);
        }
    }
    if ((end - first) % 2 == 1 && !stop_.stop_requested()) {
        finish(end - 1, 1, &totals_.back());
    }
}

[[gnu::target_clones("avx2", "default")]] void ScoreBand::load(int y, std::size_t left) {
    const int count = static_cast<int>(ring_.width());
    const std::uint8_t* a = reference_.row(y, static_cast<int>(left), count);
    const std::uint8_t* b = candidate_.row(y, static_cast<int>(left), count);
    momentsOf(a, b, ring_.source(ValueA), ring_.source(SquareA), ring_.source(ValueB),
              ring_.source(SquareB), ring_.source(Product), ring_.width());
    ring_.push(y);
}

[[gnu::target_clones("avx2", "default")]] void ScoreBand::finish(int top, int rows,
                                                                 RowTotal* totals) {
    const std::size_t count = ring_.outWidth();
    float* filtered = work_.data(); // the moments of the first row, then of the second
    float* score = filtered + 2 * Moments * count;
    for (std::size_t m = 0; m < Moments; ++m) {
        if (rows == 2) {
            ring_.acrossTwo(top, m, filtered + m * count, filtered + (Moments + m) * count);
        } else {
            ring_.across(top, m, filtered + m * count);
        }
    }
    for (int row = 0; row < rows; ++row) {
        const float* moments = filtered + static_cast<std::size_t>(row) * Moments * count;
        similarityOf(moments, moments + count, moments + 2 * count, moments + 3 * count,
                     moments + 4 * count, score, count);
        totals[row].add(score, count);
    }
}
