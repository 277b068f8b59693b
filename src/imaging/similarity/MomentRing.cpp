#include "imaging/similarity/MomentRing.h"

#include <array>

MomentRing::MomentRing(std::size_t moments, std::size_t width, const SeparableFilter& alongRow,
                       const SeparableFilter& acrossRows)
    : alongRow_(alongRow), acrossRows_(acrossRows), moments_(moments), width_(width),
      outWidth_(width - static_cast<std::size_t>(2 * alongRow.radius())), source_(moments * width),
      ring_(static_cast<std::size_t>(acrossRows.taps()) * moments * outWidth_) {}

void MomentRing::resize(std::size_t width) {
    width_ = width;
    outWidth_ = width - static_cast<std::size_t>(2 * alongRow_.radius());
    source_.resize(moments_ * width_);
    ring_.resize(static_cast<std::size_t>(acrossRows_.taps()) * moments_ * outWidth_);
}

void MomentRing::push(int y) {
    for (std::size_t m = 0; m < moments_; ++m) {
        alongRow_.alongRow(source(m), &ring_[offset(y, m)], outWidth_);
    }
}

void MomentRing::across(int top, std::size_t m, float* out) const {
    std::array<const float*, 2 * SeparableFilter::MaxRadius + 1> rows{};
    for (int k = 0; k < acrossRows_.taps(); ++k) {
        rows[static_cast<std::size_t>(k)] = &ring_[offset(top + k, m)];
    }
    acrossRows_.acrossRows(rows.data(), out, outWidth_);
}

std::size_t MomentRing::offset(int y, std::size_t m) const {
    const auto slot = static_cast<std::size_t>(y % acrossRows_.taps());
    return (slot * moments_ + m) * outWidth_;
}
