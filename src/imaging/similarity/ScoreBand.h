#pragma once

#include "imaging/similarity/LumaRows.h"
#include "imaging/similarity/MomentRing.h"
#include "imaging/similarity/RowTotal.h"
#include "imaging/similarity/SeparableFilter.h"

#include <cstddef>
#include <stop_token>
#include <vector>

// The structural similarity of two pictures over one band of rows, summed row by row: both
// pictures' means and variances and their covariance under the window are worked out from
// the brightness as it is read, so nothing of the picture's size is kept between scores.
// The band is worked in strips of columns, each strip all the way down the band, so that
// the window's rows of moments stay in a core's cache.
class ScoreBand {
public:
    // Output columns of a strip: the ring's 12 rows of 5 moments then take 121 kB, which a
    // core's second-level cache holds whatever the picture's width (for whole rows of a
    // 12000-pixel picture they would take 2.9 MB). A multiple of RowTotal::Lanes, so the
    // rows' sums do not depend on the strips, but not a power of two, so the rows of the
    // ring do not all fall on the same few sets of the first-level cache.
    static constexpr std::size_t StripWidth = 504;

    // `rowSums` has a place for each output row of the picture; the filters are the
    // window's along and across rows.
    ScoreBand(const SeparableFilter& alongRow, const SeparableFilter& acrossRows,
              LumaRows reference, LumaRows candidate, std::vector<double>& rowSums,
              const std::stop_token& stop);

    // Output rows `first` to `end` (the rows where the window's top lies); their sums are
    // left as they were when `stop` is requested.
    void operator()(int first, int end);

private:
    void strip(int first, int end, std::size_t left);
    // Compiled also for AVX2, as the filter's passes are; said on the declaration, where
    // every compiler looks for it.
    [[gnu::target_clones("avx2", "default")]] void load(int y, std::size_t left);
    // Output rows from `top`, `rows` of them (1 or 2), added to `totals` in order.
    [[gnu::target_clones("avx2", "default")]] void finish(int top, int rows, RowTotal* totals);

    const SeparableFilter& acrossRows_;
    std::size_t overlap_; // the columns a row has beyond its output positions
    std::size_t outWidth_;
    LumaRows reference_;
    LumaRows candidate_;
    MomentRing ring_;
    std::vector<float> work_;
    std::vector<RowTotal> totals_;
    std::vector<double>& rowSums_;
    const std::stop_token& stop_;
};
