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

// Four floats the compiler keeps in one vector register, with GCC and clang alike.
typedef float Four __attribute__((vector_size(16)));

Four load(const float* from) {
    Four result;
    __builtin_memcpy(&result, from, sizeof result);
    return result;
}

// The 8-point transform of the eight columns at once, four columns to a vector. Basis rows
// are even or odd about the middle: sums and differences of mirrored samples each need
// half the products.
void columns(const float* in, float* out) {
    Four sums[4][2];
    Four differences[4][2];
    for (int k = 0; k < 4; ++k) {
        for (int h = 0; h < 2; ++h) {
            const Four top = load(in + k * 8 + h * 4);
            const Four bottom = load(in + (7 - k) * 8 + h * 4);
            sums[k][h] = top + bottom;
            differences[k][h] = top - bottom;
        }
    }
    for (int v = 0; v < 8; ++v) {
        const Four(*half)[2] = v % 2 == 0 ? sums : differences;
        const float* basis = &Basis[static_cast<std::size_t>(v * 8)];
        for (int h = 0; h < 2; ++h) {
            const Four value = basis[0] * half[0][h] + basis[1] * half[1][h] +
                               basis[2] * half[2][h] + basis[3] * half[3][h];
            __builtin_memcpy(out + v * 8 + h * 4, &value, sizeof value);
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
