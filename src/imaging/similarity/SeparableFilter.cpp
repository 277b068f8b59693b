#include "imaging/similarity/SeparableFilter.h"

#include <cmath>
#include <stdexcept>

namespace {

constexpr double Sigma = 1.5;

// The radius is a template argument so the taps unroll and the compiler runs each loop
// over x several values at a time, the sums kept in registers. The order of the additions
// is fixed, so a value never depends on where in a band or on which thread it is made.
template <int Radius>
[[gnu::always_inline]] inline void alongRowOf(const float* weights, const float* __restrict in,
                                              float* __restrict out, std::size_t count) {
    const float* centre = in + Radius;
    for (std::size_t x = 0; x < count; ++x) {
        float sum = weights[0] * centre[x];
        for (int k = 1; k <= Radius; ++k) {
            sum += weights[k] * (centre[x - k] + centre[x + k]);
        }
        out[x] = sum;
    }
}

template <int Radius>
[[gnu::always_inline]] inline void acrossRowsOf(const float* weights, const float* const* rows,
                                                float* __restrict out, std::size_t count) {
    const float* __restrict centre = rows[Radius];
    for (std::size_t x = 0; x < count; ++x) {
        float sum = weights[0] * centre[x];
        for (int k = 1; k <= Radius; ++k) {
            sum += weights[k] * (rows[Radius - k][x] + rows[Radius + k][x]);
        }
        out[x] = sum;
    }
}

// Each sum as acrossRowsOf makes it, in the same order.
template <int Radius>
[[gnu::always_inline]] inline void acrossTwoRowsOf(const float* weights, const float* const* rows,
                                                   float* __restrict out, float* __restrict below,
                                                   std::size_t count) {
    for (std::size_t x = 0; x < count; ++x) {
        float sum = weights[0] * rows[Radius][x];
        float sumBelow = weights[0] * rows[Radius + 1][x];
        for (int k = 1; k <= Radius; ++k) {
            sum += weights[k] * (rows[Radius - k][x] + rows[Radius + k][x]);
            sumBelow += weights[k] * (rows[Radius + 1 - k][x] + rows[Radius + 1 + k][x]);
        }
        out[x] = sum;
        below[x] = sumBelow;
    }
}

template <int Radius = SeparableFilter::MaxRadius, class Pass>
void withRadius(int radius, Pass pass) {
    if constexpr (Radius < 0) {
        throw std::invalid_argument("window radius out of range");
    } else if (radius == Radius) {
        pass(std::integral_constant<int, Radius>{});
    } else {
        withRadius<Radius - 1>(radius, pass);
    }
}

} // namespace

SeparableFilter::SeparableFilter(int radius) : radius_(radius) {
    if (radius < 0 || radius > MaxRadius) {
        throw std::invalid_argument("window radius out of range");
    }
    // Worked out in double as the reference definition does, then rounded once.
    std::array<double, MaxRadius + 1> exact{};
    double total = 0;
    for (int k = 0; k <= radius; ++k) {
        exact[static_cast<std::size_t>(k)] = std::exp(-0.5 * k * k / (Sigma * Sigma));
        total += k == 0 ? exact[0] : 2 * exact[static_cast<std::size_t>(k)];
    }
    for (int k = 0; k <= radius; ++k) {
        weights_[static_cast<std::size_t>(k)] =
            static_cast<float>(exact[static_cast<std::size_t>(k)] / total);
    }
}

// Each pass is compiled twice, for any x86-64 processor and for those with AVX2 (eight
// floats at a time instead of four), and the loader picks one for the processor it runs on.
// Both do the same roundings in the same order, without fused multiply-adds, so a score is
// the same on every processor.
[[gnu::target_clones("avx2", "default")]] void
SeparableFilter::alongRow(const float* in, float* out, std::size_t count) const {
    withRadius(radius_, [&](auto radius) {
        alongRowOf<decltype(radius)::value>(weights_.data(), in, out, count);
    });
}

[[gnu::target_clones("avx2", "default")]] void
SeparableFilter::acrossRows(const float* const* rows, float* out, std::size_t count) const {
    withRadius(radius_, [&](auto radius) {
        acrossRowsOf<decltype(radius)::value>(weights_.data(), rows, out, count);
    });
}

[[gnu::target_clones("avx2", "default")]] void
SeparableFilter::acrossTwoRows(const float* const* rows, float* out, float* below,
                               std::size_t count) const {
    withRadius(radius_, [&](auto radius) {
        acrossTwoRowsOf<decltype(radius)::value>(weights_.data(), rows, out, below, count);
    });
}
