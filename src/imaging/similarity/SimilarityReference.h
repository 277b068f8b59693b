#pragma once

#include "imaging/similarity/LumaPlane.h"
#include "imaging/similarity/SeparableFilter.h"

#include <cstddef>
#include <optional>
#include <stop_token>
#include <vector>

class TBitmap;

// The loaded picture, ready to be scored against: its brightness and the parts of the
// structural similarity that depend on it alone (its mean and variance under the window at
// each position), worked out once, so each candidate (a recompression of it at some
// quality) costs only its own half of the work.
//
// It holds 9 bytes a pixel: the brightness (1 byte) and two floats for each position where
// the whole window fits. A 24-megapixel photograph takes 216 MB.
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
    // The same on every core, cut short by a stop asked through `stop` with EAbort: making
    // the reference of a large picture costs about as much as a score.
    SimilarityReference(const TBitmap& loaded, std::stop_token stop);

    int width() const { return luma_.width; }
    int height() const { return luma_.height; }
    std::size_t memoryBytes() const;

    // 1 for the same brightness. Nothing when `stop` is requested before the end; a
    // picture of another size is refused with std::invalid_argument.
    std::optional<double> score(const TBitmap& candidate, std::stop_token stop = {}) const;
    std::optional<double> score(const LumaPlane& candidate, std::stop_token stop = {}) const;

private:
    template <class MakeRows>
    std::optional<double> scoreRows(int width, int height, MakeRows makeRows,
                                    std::stop_token stop) const;
    SimilarityReference(LumaPlane loaded, std::stop_token stop, unsigned threads = 0);
    void computeMoments(const std::stop_token& stop);

    LumaPlane luma_;
    unsigned threads_;
    SeparableFilter alongRow_;
    SeparableFilter acrossRows_;
    std::size_t outWidth_;
    int outHeight_;
    std::vector<float> mean_;     // the window's mean brightness, less 128
    std::vector<float> variance_; // the window's variance
};
