#include "imaging/similarity/MomentRing.h"

MomentRing::MomentRing(std::size_t moments, std::size_t width, const SeparableFilter& alongRow,
                       const SeparableFilter& acrossRows)
    : alongRow_(alongRow), acrossRows_(acrossRows), moments_(moments), width_(width),
      outWidth_(width - static_cast<std::size_t>(2 * alongRow.radius())), source_(moments * width),
      ring_((static_cast<std::size_t>(acrossRows.taps()) + 1) * moments * outWidth_) {}

void MomentRing::resize(std::size_t width) {
    width_ = width;
    outWidth_ = width - static_cast<std::size_t>(2 * alongRow_.radius());
    source_.resize(moments_ * width_);
    ring_.resize(height() * moments_ * outWidth_);
}

void MomentRing::push(int y) {
    for (std::size_t m = 0; m < moments_; ++m) {
        alongRow_.alongRow(source(m), &ring_[offset(y, m)], outWidth_);
    }
}

void MomentRing::across(int top, std::size_t m, float* out) const {
    acrossRows_.acrossRows(rowsFrom(top, m, acrossRows_.taps()).data(), out, outWidth_);
}

void MomentRing::acrossTwo(int top, std::size_t m, float* out, float* below) const {
    acrossRows_.acrossTwoRows(rowsFrom(top, m, acrossRows_.taps() + 1).data(), out, below,
                              outWidth_);
}

std::array<const float*, 2 * SeparableFilter::MaxRadius + 2>
MomentRing::rowsFrom(int top, std::size_t m, int count) const {
    std::array<const float*, 2 * SeparableFilter::MaxRadius + 2> rows{};
    // One division for the window's rows, not one a row: in a strip of a few hundred
    // columns, a division a row cost a percent or two of the score.
    const std::size_t rowStride = moments_ * outWidth_;
    std::size_t at = offset(top, m);
    for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
        rows[k] = &ring_[at];
        at += rowStride;
        at = at < ring_.size() ? at : at - ring_.size();
    }
    return rows;
}

std::size_t MomentRing::offset(int y, std::size_t m) const {
    const auto slot = static_cast<std::size_t>(y) % height();
    return (slot * moments_ + m) * outWidth_;
}
