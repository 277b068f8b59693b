#include "imaging/similarity/SimilarityReference.h"

#include "core/EAbort.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/similarity/LumaRows.h"
#include "imaging/similarity/RowBands.h"
#include "imaging/similarity/ScoreBand.h"

#include <algorithm>
#include <stdexcept>

namespace {

int radiusFor(int side) {
    return std::clamp((side - 1) / 2, 0, SeparableFilter::MaxRadius);
}

// The picture's pixels shared, not copied, when its rows can be read in place.
std::shared_ptr<const TBitmap> sharedPixels(const TBitmap& bitmap) {
    if (!LumaRows::readsInPlace(bitmap)) {
        return nullptr;
    }
    auto shared = std::make_shared<TBitmap>();
    shared->CopyFrom(&bitmap);
    return shared;
}

LumaPlane planeUnlessShared(const TBitmap& bitmap) {
    return LumaRows::readsInPlace(bitmap) ? LumaPlane() : LumaPlane::of(bitmap);
}

} // namespace

SimilarityReference::SimilarityReference(const TBitmap& loaded, unsigned threads)
    : SimilarityReference(sharedPixels(loaded), planeUnlessShared(loaded), threads) {}

SimilarityReference::SimilarityReference(const TBitmap& loaded, std::stop_token stop)
    : SimilarityReference(loaded) {
    if (stop.stop_requested()) {
        throw EAbort();
    }
}

SimilarityReference::SimilarityReference(LumaPlane loaded, unsigned threads)
    : SimilarityReference(nullptr, std::move(loaded), threads) {}

SimilarityReference::SimilarityReference(std::shared_ptr<const TBitmap> pixels, LumaPlane luma,
                                         unsigned threads)
    : pixels_(std::move(pixels)), luma_(std::move(luma)),
      width_(pixels_ ? pixels_->width() : luma_.width),
      height_(pixels_ ? pixels_->height() : luma_.height), threads_(threads),
      alongRow_(radiusFor(width_)), acrossRows_(radiusFor(height_)),
      outHeight_(std::max(0, height_ - 2 * acrossRows_.radius())) {
    if (width_ <= 0 || height_ <= 0) {
        throw std::invalid_argument("an empty picture");
    }
}

std::size_t SimilarityReference::memoryBytes() const {
    return luma_.values.size();
}

LumaRows SimilarityReference::rows() const {
    return pixels_ ? LumaRows(*pixels_) : LumaRows(luma_);
}

std::optional<double> SimilarityReference::score(const TBitmap& candidate,
                                                 std::stop_token stop) const {
    if (LumaRows::readsInPlace(candidate)) {
        return scoreRows(
            candidate.width(), candidate.height(), [&] { return LumaRows(candidate); }, stop);
    }
    const LumaPlane plane = LumaPlane::of(candidate); // converted once for every thread
    return score(plane, stop);
}

std::optional<double> SimilarityReference::score(const LumaPlane& candidate,
                                                 std::stop_token stop) const {
    return scoreRows(
        candidate.width, candidate.height, [&] { return LumaRows(candidate); }, stop);
}

template <class MakeRows>
std::optional<double> SimilarityReference::scoreRows(int width, int height, MakeRows makeRows,
                                                     std::stop_token stop) const {
    if (width != width_ || height != height_) {
        throw std::invalid_argument("pictures of different sizes");
    }
    std::vector<double> rowSums(static_cast<std::size_t>(outHeight_));
    RowBands::run(outHeight_, threads_, [&] {
        return ScoreBand(alongRow_, acrossRows_, rows(), makeRows(), rowSums, stop);
    });
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    double total = 0;
    for (const double rowSum : rowSums) {
        total += rowSum;
    }
    const auto outWidth = static_cast<std::size_t>(width_ - 2 * alongRow_.radius());
    return total / (static_cast<double>(outWidth) * outHeight_);
}
