#pragma once

#include <QImage>

class TBitmap;

// The pixels of a bitmap of any format, as Qt draws them.
QImage bitmapImage(const TBitmap& bitmap);

// The same, but for a 24-bit bitmap the image is drawn from the bitmap's own rows, without a
// copy: it is valid only while those pixels live. The image's rows are in memory order, so
// `upsideDown` tells whether its first row is the picture's bottom row (as BMP files store
// them); such an image must be drawn mirrored top to bottom.
QImage bitmapView(const TBitmap& bitmap, bool& upsideDown);
