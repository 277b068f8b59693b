#pragma once

#include <QImage>

class TBitmap;

// The pixels of a bitmap of any format, as Qt draws them.
QImage bitmapImage(const TBitmap& bitmap);
