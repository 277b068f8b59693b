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

    // Whether rows of `bitmap` are read from its own pixels, rather than from a plane
    // converted whole at the start.
    static bool readsInPlace(const TBitmap& bitmap);

    int width() const { return width_; }
    int height() const { return height_; }
    // Row `y`, top row 0: `width()` values, valid until the next call.
    const std::uint8_t* row(int y) { return row(y, 0, width_); }
    // The `count` values of row `y` from column `left` on, valid until the next call: a
    // score that works a picture in strips of columns reads no more of each row than that.
    // Quickest when the rows are asked for top to bottom.
    const std::uint8_t* row(int y, int left, int count);

private:
    const TBitmap* bitmap_ = nullptr;
    int bytesPerPixel_ = 0;
    const LumaPlane* plane_ = nullptr;
    LumaPlane converted_;
    std::vector<std::uint8_t> row_;
    int width_ = 0;
    int height_ = 0;
};
