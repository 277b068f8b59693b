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

} // namespace

void JpegForwardDct::transform(const float* samples, float* coefficients) {
    // Rows first into `rows`, then columns; the compiler vectorises the inner loops.
    float rows[64];
    for (int y = 0; y < 8; ++y) {
        for (int u = 0; u < 8; ++u) {
            float sum = 0.0f;
            for (int x = 0; x < 8; ++x) {
                sum += Basis[static_cast<std::size_t>(u * 8 + x)] * samples[y * 8 + x];
            }
            rows[y * 8 + u] = sum;
        }
    }
    for (int v = 0; v < 8; ++v) {
        float column[8] = {};
        for (int y = 0; y < 8; ++y) {
            const float weight = Basis[static_cast<std::size_t>(v * 8 + y)];
            for (int u = 0; u < 8; ++u) {
                column[u] += weight * rows[y * 8 + u];
            }
        }
        for (int u = 0; u < 8; ++u) {
            coefficients[v * 8 + u] = column[u];
        }
    }
}
