#include "ui/AmplifiedDifference.h"

#include "imaging/bmp/TBitmap.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::uint8_t amplified(std::uint8_t first, std::uint8_t second) {
    return static_cast<std::uint8_t>(
        std::min(255, std::abs(first - second) * AmplifiedDifference::Factor));
}

// The bitmap itself when it is 24-bit, else a 24-bit copy: rows of blue, green, red.
const TBitmap& at24Bits(const TBitmap& bitmap, TBitmap& copy) {
    if (bitmap.pixelFormat() == TPixelFormat::Bits24) {
        return bitmap;
    }
    copy.CopyFrom(&bitmap);
    copy.setPixelFormat(TPixelFormat::Bits24);
    return copy;
}

} // namespace

QImage AmplifiedDifference::of(const TBitmap& loaded, const TBitmap& recompressed) {
    if (recompressed.empty() || recompressed.width() <= 0 || recompressed.height() <= 0) {
        return {};
    }
    TBitmap loadedCopy;
    TBitmap recompressedCopy;
    const TBitmap& a = at24Bits(loaded, loadedCopy);
    const TBitmap& b = at24Bits(recompressed, recompressedCopy);
    // Blue, green, red in memory, as the bitmaps' rows are.
    QImage difference(b.width(), b.height(), QImage::Format_BGR888);
    if (difference.isNull()) {
        return {};
    }
    difference.fill(Qt::black);
    const int width = a.empty() ? 0 : std::min(a.width(), b.width());
    const int height = a.empty() ? 0 : std::min(a.height(), b.height());
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* first = a.scanLine(y);
        const std::uint8_t* second = b.scanLine(y);
        std::uint8_t* out = difference.scanLine(y);
        for (int x = 0; x < 3 * width; ++x) {
            out[x] = amplified(first[x], second[x]);
        }
    }
    return difference;
}
