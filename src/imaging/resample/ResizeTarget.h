#pragma once

// A picture's width and height in pixels.
struct PixelSize {
    int width = 0;
    int height = 0;

    bool operator==(const PixelSize&) const = default;
};

// The size a picture takes under a limit on its longest side, as "small enough to send"
// shrinks it: the longest side becomes exactly the limit, the other one follows in proportion,
// rounded to the nearest pixel and at least 1. A picture is never enlarged: one already within
// the limit, or any picture when the limit is 0 or less (no limit), keeps its size and says so.
struct ResizeTarget {
    PixelSize size;
    bool resized = false; // false: `size` is the picture's own size, nothing to resample

    // Sides of 0 or less are refused with std::invalid_argument.
    static ResizeTarget of(PixelSize picture, int longestSide);
};
