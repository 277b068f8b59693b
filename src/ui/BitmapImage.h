#pragma once

#include <QImage>

class TBitmap;

// The pixels of a bitmap of any format, as Qt draws them.
QImage bitmapImage(const TBitmap& bitmap);

// The same, but for a 24-bit bitmap with its rows in picture order the image is drawn from
// the bitmap's own rows, without a copy: it is valid only while those pixels live.
QImage bitmapView(const TBitmap& bitmap);
