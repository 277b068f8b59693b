#include "imaging/jpeg/JpegForwardDct.h"

#include <array>
#include <cmath>

namespace {

// basis[u][x] = C(u) / 2 * cos((2x + 1) u pi / 16), C(0) = 1 / sqrt 2, else 1.
std::array<float, 64> makeBasis() {
    std::array<float, 64> basis{};
    const double pi = std::acos(-1.0);
    for (int u = 0; u < 8; ++u) {
        const double scale = u == 0 ? std::sqrt(0.125) : 0.5;
        for (int x = 0; x < 8; ++x) {
            basis[static_cast<std::size_t>(u * 8 + x)] =
                static_cast<float>(scale * std::cos((2 * x + 1) * u * pi / 16.0));
        }
    }
    return basis;
}

const std::array<float, 64> Basis = makeBasis();

// The 8-point transform of the eight columns at once, so the inner loops run along rows and
// the compiler turns them into vector instructions. Basis rows are even or odd about the
// middle: sums and differences of mirrored samples each need half the products.
void columns(const float* in, float* out) {
    float sums[4][8];
    float differences[4][8];
    for (int k = 0; k < 4; ++k) {
        for (int x = 0; x < 8; ++x) {
            sums[k][x] = in[k * 8 + x] + in[(7 - k) * 8 + x];
            differences[k][x] = in[k * 8 + x] - in[(7 - k) * 8 + x];
        }
    }
    for (int v = 0; v < 8; ++v) {
        const float(*half)[8] = v % 2 == 0 ? sums : differences;
        const float* basis = &Basis[static_cast<std::size_t>(v * 8)];
        for (int x = 0; x < 8; ++x) {
            out[v * 8 + x] = basis[0] * half[0][x] + basis[1] * half[1][x] + basis[2] * half[2][x] +
                             basis[3] * half[3][x];
        }
    }
}

void transpose(const float* in, float* out) {
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            out[x * 8 + y] = in[y * 8 + x];
        }
    }
}

} // namespace

void JpegForwardDct::transform(const float* samples, float* coefficients) {
    float first[64];
    float second[64];
    columns(samples, first);
    transpose(first, second);
    columns(second, first);
    transpose(first, coefficients);
}
