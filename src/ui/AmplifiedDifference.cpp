#include "ui/AmplifiedDifference.h"

#include <algorithm>
#include <cstdlib>

namespace {

int amplified(int first, int second) {
    return std::min(255, std::abs(first - second) * AmplifiedDifference::Factor);
}

} // namespace

QImage AmplifiedDifference::of(const QImage& loaded, const QImage& recompressed) {
    if (recompressed.isNull()) {
        return {};
    }
    const QImage a = loaded.convertToFormat(QImage::Format_RGB32);
    const QImage b = recompressed.convertToFormat(QImage::Format_RGB32);
    QImage difference(b.size(), QImage::Format_RGB32);
    difference.fill(Qt::black);
    const int width = std::min(a.width(), b.width());
    const int height = std::min(a.height(), b.height());
    for (int y = 0; y < height; ++y) {
        const auto* first = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* second = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(difference.scanLine(y));
        for (int x = 0; x < width; ++x) {
            out[x] = qRgb(amplified(qRed(first[x]), qRed(second[x])),
                          amplified(qGreen(first[x]), qGreen(second[x])),
                          amplified(qBlue(first[x]), qBlue(second[x])));
        }
    }
    return difference;
}
