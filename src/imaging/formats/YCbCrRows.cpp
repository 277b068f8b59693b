#include "imaging/formats/YCbCrRows.h"

#include "imaging/bmp/TBitmap.h"

#include <algorithm>
#include <cmath>

namespace {

// BT.601's shares of red and blue in the brightness.
constexpr float Kr = 0.299f, Kb = 0.114f, Kg = 1 - Kr - Kb;
constexpr float RedFromCr = 2 * (1 - Kr);
constexpr float BlueFromCb = 2 * (1 - Kb);
constexpr float GreenFromCb = -2 * Kb * (1 - Kb) / Kg;
constexpr float GreenFromCr = -2 * Kr * (1 - Kr) / Kg;

std::uint8_t level(float value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

} // namespace

int YCbCrRows::height(const TBitmap& pixels) {
    return pixels.height();
}

void YCbCrRows::putRow(const Planes& planes, int y, TBitmap& pixels) {
    const std::uint8_t* luma = planes.y.samples + static_cast<std::ptrdiff_t>(y) * planes.y.stride;
    const auto chromaRow = static_cast<std::ptrdiff_t>(y >> planes.chromaShiftY);
    const std::uint8_t* cb = planes.cb.samples + chromaRow * planes.cb.stride;
    const std::uint8_t* cr = planes.cr.samples + chromaRow * planes.cr.stride;
    std::uint8_t* out = pixels.scanLine(y);
    for (int x = 0; x < pixels.width(); ++x, out += 3) {
        const int cx = x >> planes.chromaShiftX;
        const float blue = cb[cx] - 128.0f;
        const float red = cr[cx] - 128.0f;
        out[0] = level(luma[x] + BlueFromCb * blue);
        out[1] = level(luma[x] + GreenFromCb * blue + GreenFromCr * red);
        out[2] = level(luma[x] + RedFromCr * red);
    }
}
