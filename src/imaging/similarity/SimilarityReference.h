#pragma once

#include "imaging/similarity/LumaPlane.h"
#include "imaging/similarity/SeparableFilter.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <stop_token>

class LumaRows;
class TBitmap;

// The loaded picture, ready to be scored against: candidates (recompressions of it at some
// quality) are scored against its brightness under the structural similarity's window.
//
// It keeps nothing of the picture's size beside the picture itself: a picture of 24 or 32
// bits is shared with the caller (the pixels are not copied; a caller that changes its
// picture afterwards gets a copy of its own, as with any shared bitmap), and its brightness
// and its mean and variance under the window are worked out again, band by band, during
// each score. Only a picture of another pixel format is converted once to its brightness,
// 1 byte a pixel. A score takes memory that grows with the width alone: about 160 kB and
// 2 bytes a column for each thread, and 8 bytes a row.
//
// The score is the mean structural similarity that StructuralSimilarity describes, in
// single precision with the sums over the picture in double: within 1e-5 of the exact
// value on photographs. Pictures of more than one band of rows are shared among threads;
// the score is the same to the last bit whatever their number. A reference may be scored
// against from several threads at once.
class SimilarityReference {
public:
    // `threads` 0: one a core. An empty picture is refused with std::invalid_argument.
    explicit SimilarityReference(const TBitmap& loaded, unsigned threads = 0);
    explicit SimilarityReference(LumaPlane loaded, unsigned threads = 0);
    // The same on every core; EAbort when a stop is asked through `stop` before the
    // reference is made.
    SimilarityReference(const TBitmap& loaded, std::stop_token stop);

    int width() const { return width_; }
    int height() const { return height_; }
    // The memory the reference holds of its own: the brightness plane it keeps, nothing
    // when it shares the loaded picture's pixels.
    std::size_t memoryBytes() const;

    // 1 for the same brightness. Nothing when `stop` is requested before the end; a
    // picture of another size is refused with std::invalid_argument.
    std::optional<double> score(const TBitmap& candidate, std::stop_token stop = {}) const;
    std::optional<double> score(const LumaPlane& candidate, std::stop_token stop = {}) const;

private:
    // `pixels` when the loaded picture is read in place, else nothing and its `luma`.
    SimilarityReference(std::shared_ptr<const TBitmap> pixels, LumaPlane luma, unsigned threads);
    template <class MakeRows>
    std::optional<double> scoreRows(int width, int height, MakeRows makeRows,
                                    std::stop_token stop) const;
    LumaRows rows() const;

    std::shared_ptr<const TBitmap> pixels_; // the loaded picture's, when read in place
    LumaPlane luma_;                        // its brightness otherwise
    int width_;
    int height_;
    unsigned threads_;
    SeparableFilter alongRow_;
    SeparableFilter acrossRows_;
    int outHeight_;
};
