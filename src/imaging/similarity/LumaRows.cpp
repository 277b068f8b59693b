#include "imaging/similarity/LumaRows.h"

#include "imaging/bmp/TBitmap.h"

namespace {

// The pixel size is a template argument so the compiler reads several pixels at a time.
template <int BytesPerPixel>
[[gnu::always_inline]] inline void lumaOfRow(const std::uint8_t* __restrict pixels,
                                             std::uint8_t* __restrict out, int width) {
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* pixel = pixels + BytesPerPixel * x;
        out[x] = LumaPlane::luma(pixel[2], pixel[1], pixel[0]);
    }
}

// Three-byte pixels need byte shuffles that only AVX2's copy of this loop has; the plain
// copy goes one pixel at a time.
[[gnu::target_clones("avx2", "default")]] void lumaOfBgrRow(const std::uint8_t* pixels,
                                                            std::uint8_t* out, int width) {
    lumaOfRow<3>(pixels, out, width);
}

} // namespace

LumaRows::LumaRows(const TBitmap& bitmap) : width_(bitmap.width()), height_(bitmap.height()) {
    switch (bitmap.pixelFormat()) {
    case TPixelFormat::Bits24:
        bytesPerPixel_ = 3;
        break;
    case TPixelFormat::Bits32:
    case TPixelFormat::Device:
        bytesPerPixel_ = 4;
        break;
    default:
        converted_ = LumaPlane::of(bitmap);
        plane_ = &converted_;
        return;
    }
    bitmap_ = &bitmap;
    row_.resize(static_cast<std::size_t>(width_));
}

LumaRows::LumaRows(const LumaPlane& plane)
    : plane_(&plane), width_(plane.width), height_(plane.height) {}

const std::uint8_t* LumaRows::row(int y) {
    if (plane_ != nullptr) {
        return plane_->values.data() +
               static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    if (bytesPerPixel_ == 3) {
        lumaOfBgrRow(bitmap_->scanLine(y), row_.data(), width_);
    } else {
        lumaOfRow<4>(bitmap_->scanLine(y), row_.data(), width_);
    }
    return row_.data();
}
