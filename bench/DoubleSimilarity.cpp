// The similarity score as the program computed it before its single-precision form: every
// moment in double, one thread, both pictures' moments filtered for each score. Kept as the
// benchmark's baseline.

#include "DoubleSimilarity.h"

#include "imaging/similarity/LumaRows.h"
#include "imaging/similarity/StructuralSimilarity.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double C1 = (0.01 * 255) * (0.01 * 255);
constexpr double C2 = (0.03 * 255) * (0.03 * 255);

// What a window sums: both values, both squares and their product.
constexpr std::size_t Moments = 5;

std::vector<double> gaussianWeights(int radius) {
    constexpr double Sigma = StructuralSimilarity::Sigma;
    std::vector<double> weights(static_cast<std::size_t>(2 * radius + 1));
    double total = 0;
    for (int i = -radius; i <= radius; ++i) {
        const double weight = std::exp(-0.5 * i * i / (Sigma * Sigma));
        weights[static_cast<std::size_t>(i + radius)] = weight;
        total += weight;
    }
    for (double& weight : weights) {
        weight /= total;
    }
    return weights;
}

// out += weight * in, over `count` values: the loops below are written this way so the
// compiler can run them several values at a time.
void addScaled(double* out, const double* in, double weight, std::size_t count) {
    for (std::size_t x = 0; x < count; ++x) {
        out[x] += weight * in[x];
    }
}

// The five moments of each picture row, filtered along x, for the rows of one window: a
// ring as tall as the window, so memory grows with the width only.
class FilteredRows {
public:
    FilteredRows(LumaRows& first, LumaRows& second, int radiusX, int rows)
        : first_(first), second_(second), weights_(gaussianWeights(radiusX)),
          width_(static_cast<std::size_t>(first.width())),
          outWidth_(static_cast<std::size_t>(first.width() - 2 * radiusX)),
          source_(Moments * width_), ring_(static_cast<std::size_t>(rows) * Moments * outWidth_),
          rows_(rows) {}

    std::size_t outWidth() const { return outWidth_; }

    void filter(int y) {
        loadSource(y);
        double* out = &ring_[slot(y)];
        std::fill(out, out + Moments * outWidth_, 0.0);
        for (std::size_t m = 0; m < Moments; ++m) {
            for (std::size_t k = 0; k < weights_.size(); ++k) {
                addScaled(out + m * outWidth_, &source_[m * width_ + k], weights_[k], outWidth_);
            }
        }
    }

    // Moment `m` of filtered picture row `y`.
    const double* moment(int y, std::size_t m) const { return &ring_[slot(y) + m * outWidth_]; }

private:
    std::size_t slot(int y) const {
        return static_cast<std::size_t>(y % rows_) * Moments * outWidth_;
    }

    void loadSource(int y) {
        const std::uint8_t* a = first_.row(y);
        const std::uint8_t* b = second_.row(y);
        for (std::size_t x = 0; x < width_; ++x) {
            const double va = a[x];
            const double vb = b[x];
            source_[x] = va;
            source_[width_ + x] = vb;
            source_[2 * width_ + x] = va * va;
            source_[3 * width_ + x] = vb * vb;
            source_[4 * width_ + x] = va * vb;
        }
    }

    LumaRows& first_;
    LumaRows& second_;
    std::vector<double> weights_;
    std::size_t width_;
    std::size_t outWidth_;
    std::vector<double> source_;
    std::vector<double> ring_;
    int rows_;
};

// Filters the window's rows along y and adds up the similarity along one output row.
class OutputRow {
public:
    OutputRow(std::size_t width, int radiusY)
        : weights_(gaussianWeights(radiusY)), width_(width), sums_(Moments * width) {}

    double similarity(const FilteredRows& rows, int top) {
        std::fill(sums_.begin(), sums_.end(), 0.0);
        for (std::size_t k = 0; k < weights_.size(); ++k) {
            for (std::size_t m = 0; m < Moments; ++m) {
                addScaled(&sums_[m * width_], rows.moment(top + static_cast<int>(k), m),
                          weights_[k], width_);
            }
        }
        double total = 0;
        for (std::size_t x = 0; x < width_; ++x) {
            total += at(x);
        }
        return total;
    }

    int rows() const { return static_cast<int>(weights_.size()); }

private:
    double at(std::size_t x) const {
        const double meanA = sums_[x];
        const double meanB = sums_[width_ + x];
        const double varianceA = sums_[2 * width_ + x] - meanA * meanA;
        const double varianceB = sums_[3 * width_ + x] - meanB * meanB;
        const double covariance = sums_[4 * width_ + x] - meanA * meanB;
        return ((2 * meanA * meanB + C1) * (2 * covariance + C2)) /
               ((meanA * meanA + meanB * meanB + C1) * (varianceA + varianceB + C2));
    }

    std::vector<double> weights_;
    std::size_t width_;
    std::vector<double> sums_;
};

} // namespace

double doubleSimilarity(LumaRows& first, LumaRows& second) {
    const int radiusX = std::min(StructuralSimilarity::WindowRadius, (first.width() - 1) / 2);
    const int radiusY = std::min(StructuralSimilarity::WindowRadius, (first.height() - 1) / 2);
    FilteredRows rows(first, second, radiusX, 2 * radiusY + 1);
    OutputRow output(rows.outWidth(), radiusY);
    for (int y = 0; y + 1 < output.rows(); ++y) {
        rows.filter(y);
    }
    double total = 0;
    for (int top = 0; top + output.rows() <= first.height(); ++top) {
        rows.filter(top + output.rows() - 1);
        total += output.similarity(rows, top);
    }
    const int outHeight = first.height() - 2 * radiusY;
    return total / (static_cast<double>(rows.outWidth()) * outHeight);
}
