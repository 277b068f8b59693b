#pragma once

#include "imaging/similarity/LumaPlane.h"

#include <cstdint>
#include <vector>

class TBitmap;

// The brightness of a picture (as LumaPlane computes it) one row at a time, worked out as
// the rows are asked for, so a score over a large picture costs a row of memory, not a
// plane. Only pictures of 24 and 32 bits are read in place; other formats are converted
// whole once. The picture or plane must outlive this object and stay unchanged.
class LumaRows {
public:
    explicit LumaRows(const TBitmap& bitmap);
    explicit LumaRows(const LumaPlane& plane);

    int width() const { return width_; }
    int height() const { return height_; }
    // Row `y`, top row 0: `width()` values, valid until the next call.
    const std::uint8_t* row(int y);

private:
    const TBitmap* bitmap_ = nullptr;
    int bytesPerPixel_ = 0;
    const LumaPlane* plane_ = nullptr;
    LumaPlane converted_;
    std::vector<std::uint8_t> row_;
    int width_ = 0;
    int height_ = 0;
};
