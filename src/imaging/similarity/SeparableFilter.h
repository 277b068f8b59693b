#pragma once

#include <array>
#include <cstddef>

// The score's Gaussian window along one axis, in single precision: the weights of the
// reference definition (sigma 1.5, summing to 1) rounded to float once. Applying it as two
// one-dimensional passes costs 2 x 11 multiplications a value instead of 121, and the
// window's symmetry halves them again: the values at -k and +k are added before weighing.
class SeparableFilter {
public:
    static constexpr int MaxRadius = 5;

    // `radius` 0 to MaxRadius: 2 radius + 1 taps.
    explicit SeparableFilter(int radius);

    int radius() const { return radius_; }
    int taps() const { return 2 * radius_ + 1; }
    // The weight `k` places from the centre, either side.
    float weight(int k) const { return weights_[static_cast<std::size_t>(k)]; }

    // out[x] = sum over k of weight(k) in[x + radius + k], for x < count: `in` holds
    // count + 2 radius values.
    void alongRow(const float* in, float* out, std::size_t count) const;
    // out[x] = sum over k of weight(k) rows[radius + k][x], for x < count: `rows` holds
    // taps() rows, top first.
    void acrossRows(const float* const* rows, float* out, std::size_t count) const;
    // The same for two output rows, `out` and the one below it, `below`: `rows` holds
    // taps() + 1 rows. Each row is read once for both, which halves what the pass reads.
    void acrossTwoRows(const float* const* rows, float* out, float* below, std::size_t count) const;

private:
    int radius_;
    std::array<float, MaxRadius + 1> weights_{};
};
