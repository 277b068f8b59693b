#include "ui/BitmapImage.h"

#include "imaging/bmp/TBitmap.h"

QImage bitmapImage(const TBitmap& bitmap) {
    if (bitmap.empty() || bitmap.width() <= 0 || bitmap.height() <= 0) {
        return {};
    }
    // RGB32 is blue, green, red, 255 in memory, the order the bitmap hands out.
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    bitmap.copyToBgra32(image.bits(), image.bytesPerLine());
    return image;
}

QImage bitmapView(const TBitmap& bitmap, bool& upsideDown) {
    upsideDown = false;
    if (bitmap.empty() || bitmap.width() <= 0 || bitmap.height() <= 0 ||
        bitmap.pixelFormat() != TPixelFormat::Bits24) {
        return bitmapImage(bitmap);
    }
    // Blue, green, red in memory: Qt's BGR888, which takes rows at a positive distance only.
    upsideDown = bitmap.rowStep() < 0;
    const int first = upsideDown ? bitmap.height() - 1 : 0; // the row lowest in memory
    const std::ptrdiff_t step = upsideDown ? -bitmap.rowStep() : bitmap.rowStep();
    return QImage(bitmap.scanLine(first), bitmap.width(), bitmap.height(), step,
                  QImage::Format_BGR888);
}
