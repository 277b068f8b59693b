#pragma once

#include <array>
#include <cstddef>

// The sum of one row's values in double, given in pieces from left to right: eight running
// sums side by side so the loop need not wait on each addition. Their order is fixed by the
// columns alone, so the total is the same to the bit however the row is cut, as long as
// every piece but the last holds a multiple of Lanes values.
class RowTotal {
public:
    static constexpr std::size_t Lanes = 8;

    void add(const float* values, std::size_t count) {
        std::size_t x = 0;
        for (; x + Lanes <= count; x += Lanes) {
            for (std::size_t lane = 0; lane < Lanes; ++lane) {
                lanes_[lane] += values[x + lane];
            }
        }
        for (; x < count; ++x) {
            rest_ += values[x];
        }
    }

    double total() const {
        double total = rest_;
        for (const double lane : lanes_) {
            total += lane;
        }
        return total;
    }

private:
    std::array<double, Lanes> lanes_{};
    double rest_ = 0;
};
