#include "ui/BitmapImage.h"

#include "imaging/TBitmap.h"

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

QImage bitmapView(const TBitmap& bitmap) {
    if (bitmap.empty() || bitmap.width() <= 0 || bitmap.height() <= 0 ||
        bitmap.pixelFormat() != TPixelFormat::Bits24 || bitmap.rowStep() <= 0) {
        return bitmapImage(bitmap);
    }
    // Blue, green, red in memory: Qt's BGR888.
    return QImage(bitmap.scanLine(0), bitmap.width(), bitmap.height(), bitmap.rowStep(),
                  QImage::Format_BGR888);
}
