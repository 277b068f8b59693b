#include "imaging/formats/YCbCrRows.h"

#include "imaging/bmp/TBitmap.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// BT.601's shares of red and blue in the brightness.
constexpr double Kr = 0.299, Kb = 0.114, Kg = 1 - Kr - Kb;
constexpr int Shift = 16;

// What each value of a colour difference adds to a primary, in 1/65536 of a level, with the
// half that rounds the sum to the nearest level.
struct Contributions {
    std::array<std::int32_t, 256> redFromCr, greenFromCb, greenFromCr, blueFromCb;

    Contributions() {
        for (int value = 0; value < 256; ++value) {
            const double difference = value - 128;
            const auto scaled = [difference](double weight) {
                return static_cast<std::int32_t>(std::lround(weight * difference * (1 << Shift)));
            };
            const auto index = static_cast<std::size_t>(value);
            redFromCr[index] = scaled(2 * (1 - Kr)) + (1 << (Shift - 1));
            blueFromCb[index] = scaled(2 * (1 - Kb)) + (1 << (Shift - 1));
            greenFromCb[index] = scaled(-2 * Kb * (1 - Kb) / Kg) + (1 << (Shift - 1));
            greenFromCr[index] = scaled(-2 * Kr * (1 - Kr) / Kg);
        }
    }
};

const Contributions& contributions() {
    static const Contributions table;
    return table;
}

std::uint8_t level(std::int32_t brightness, std::int32_t added) {
    return static_cast<std::uint8_t>(std::clamp((brightness + added) >> Shift, 0, 255));
}

} // namespace

int YCbCrRows::height(const TBitmap& pixels) {
    return pixels.height();
}

void YCbCrRows::putRow(const Planes& planes, int y, TBitmap& pixels) {
    const Contributions& table = contributions();
    const std::uint8_t* luma = planes.y.samples + static_cast<std::ptrdiff_t>(y) * planes.y.stride;
    const auto chromaRow = static_cast<std::ptrdiff_t>(y >> planes.chromaShiftY);
    const std::uint8_t* cb = planes.cb.samples + chromaRow * planes.cb.stride;
    const std::uint8_t* cr = planes.cr.samples + chromaRow * planes.cr.stride;
    std::uint8_t* out = pixels.scanLine(y);
    const int width = pixels.width();
    for (int x = 0; x < width; ++x, out += 3) {
        const int cx = x >> planes.chromaShiftX;
        const std::int32_t brightness = luma[x] << Shift;
        out[0] = level(brightness, table.blueFromCb[cb[cx]]);
        out[1] = level(brightness, table.greenFromCb[cb[cx]] + table.greenFromCr[cr[cx]]);
        out[2] = level(brightness, table.redFromCr[cr[cx]]);
    }
}
