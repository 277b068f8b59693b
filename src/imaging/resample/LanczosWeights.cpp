#include "imaging/resample/LanczosWeights.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

double LanczosWeights::kernel(double x) {
    x = std::abs(x);
    if (x < 1e-12) {
        return 1.0;
    }
    if (x >= Lobes) {
        return 0.0;
    }
    const double px = std::numbers::pi * x;
    return Lobes * std::sin(px) * std::sin(px / Lobes) / (px * px);
}

LanczosWeights::LanczosWeights(int sourceSize, int outputSize) {
    if (sourceSize <= 0 || outputSize <= 0) {
        throw std::invalid_argument("Lanczos weights need sizes of at least one pixel");
    }
    const double reduction = static_cast<double>(sourceSize) / outputSize;
    const double stretch = std::max(1.0, reduction); // a wider filter when shrinking
    const double support = Lobes * stretch;
    stride_ = std::min(sourceSize, static_cast<int>(std::ceil(2 * support)) + 1);
    const auto outputs = static_cast<std::size_t>(outputSize);
    first_.resize(outputs);
    count_.resize(outputs);
    weights_.assign(outputs * static_cast<std::size_t>(stride_), 0.0f);
    std::vector<double> taps(static_cast<std::size_t>(stride_));
    for (int i = 0; i < outputSize; ++i) {
        // Pixel centres at index + 0.5 on both axes.
        const double centre = (i + 0.5) * reduction;
        const int begin = std::max(0, static_cast<int>(std::floor(centre - support + 0.5)));
        const int end = std::min(sourceSize, static_cast<int>(std::floor(centre + support + 0.5)));
        // Both ends grow with i, which the vertical pass relies on.
        const int count = std::min(end - begin, stride_);
        double sum = 0;
        for (int k = 0; k < count; ++k) {
            taps[static_cast<std::size_t>(k)] = kernel((begin + k + 0.5 - centre) / stretch);
            sum += taps[static_cast<std::size_t>(k)];
        }
        float* out =
            weights_.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(stride_);
        for (int k = 0; k < count; ++k) {
            out[k] = static_cast<float>(taps[static_cast<std::size_t>(k)] / sum);
        }
        first_[static_cast<std::size_t>(i)] = begin;
        count_[static_cast<std::size_t>(i)] = count;
    }
}

int LanczosWeights::firstOutputOf(int source) const {
    // The first output whose range reaches `source`: the ranges' ends grow with the output.
    int low = 0;
    int high = outputSize();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (first(middle) + count(middle) - 1 < source) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

int LanczosWeights::lastOutputOf(int source) const {
    // The last output whose range starts at or before `source`.
    int low = 0;
    int high = outputSize();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (first(middle) <= source) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low - 1;
}

int LanczosWeights::mostOutputsOfOneSource() const {
    int most = 0;
    int low = 0;
    for (int high = 0; high < outputSize(); ++high) {
        // Outputs low..high share source pixel first(high) when their ranges reach it.
        while (first(low) + count(low) - 1 < first(high)) {
            ++low;
        }
        most = std::max(most, high - low + 1);
    }
    return most;
}
