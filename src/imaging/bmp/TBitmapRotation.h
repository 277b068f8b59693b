#pragma once

#include <functional>

class TBitmap;

// Turns a picture a quarter turn clockwise: a W x H picture becomes H x W, the top row
// becomes the right-hand column. The destination takes the device format (32 bits a pixel),
// whatever the source's format; `afterColumn` hears of every source column done, so a long
// turn can show progress.
void rotateClockwise(const TBitmap& source, TBitmap& destination,
                     const std::function<void(int column)>& afterColumn = {});
