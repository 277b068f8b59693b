#pragma once

#include "imaging/similarity/SeparableFilter.h"

#include <array>
#include <cstddef>
#include <vector>

// Picture rows of a few moments (a value, its square, a product), each filtered along the
// row, for the last rows of a window's height and one more: a ring one row taller than the
// window, so two output rows can be filtered at once, and what one band of rows needs grows
// with the width alone.
class MomentRing {
public:
    MomentRing(std::size_t moments, std::size_t width, const SeparableFilter& alongRow,
               const SeparableFilter& acrossRows);

    // A new width, for another strip of the picture's columns; what the ring held is lost.
    // Takes no memory while the width is no more than the widest before.
    void resize(std::size_t width);

    std::size_t width() const { return width_; }
    // Values left after the row filter: the width less the window's overlap.
    std::size_t outWidth() const { return outWidth_; }
    // The unfiltered values of moment `m` of the next row, `width()` of them, to be
    // written before push.
    float* source(std::size_t m) { return &source_[m * width_]; }
    // Filters the source rows as picture row `y`, over the oldest row of the ring.
    void push(int y);
    // Moment `m` filtered across the rows from `top` down, which must all be in the ring:
    // the window's value at each output position of that row.
    void across(int top, std::size_t m, float* out) const;
    // The same for the rows from `top` and from `top` + 1 at once.
    void acrossTwo(int top, std::size_t m, float* out, float* below) const;

private:
    std::size_t offset(int y, std::size_t m) const;
    // The ring's rows of moment `m` from `top` down, `count` of them.
    std::array<const float*, 2 * SeparableFilter::MaxRadius + 2> rowsFrom(int top, std::size_t m,
                                                                          int count) const;
    std::size_t height() const { return static_cast<std::size_t>(acrossRows_.taps()) + 1; }

    const SeparableFilter& alongRow_;
    const SeparableFilter& acrossRows_;
    std::size_t moments_;
    std::size_t width_;
    std::size_t outWidth_;
    std::vector<float> source_;
    std::vector<float> ring_;
};
