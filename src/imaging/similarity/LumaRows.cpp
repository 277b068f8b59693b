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

// 0 for the formats that are converted whole.
int bytesPerPixelOf(TPixelFormat format) {
    switch (format) {
    case TPixelFormat::Bits24:
        return 3;
    case TPixelFormat::Bits32:
    case TPixelFormat::Device:
        return 4;
    default:
        return 0;
    }
}

// The same columns of the next row are asked for from memory as a row is read: a score goes
// down a strip of columns, and the rows of a large picture lie too far apart for the
// processor to guess which comes next. Without this, a strip's brightness took twice as
// long to read as whole rows.
void prefetch(const std::uint8_t* bytes, int count) {
    constexpr int Line = 64;
    for (int offset = 0; offset < count; offset += Line) {
        __builtin_prefetch(bytes + offset);
    }
}

} // namespace

bool LumaRows::readsInPlace(const TBitmap& bitmap) {
    return bytesPerPixelOf(bitmap.pixelFormat()) != 0;
}

LumaRows::LumaRows(const TBitmap& bitmap)
    : bytesPerPixel_(bytesPerPixelOf(bitmap.pixelFormat())), width_(bitmap.width()),
      height_(bitmap.height()) {
    if (bytesPerPixel_ == 0) {
        converted_ = LumaPlane::of(bitmap); // read through no pointer, so the rows may move
        return;
    }
    bitmap_ = &bitmap;
    row_.resize(static_cast<std::size_t>(width_));
}

LumaRows::LumaRows(const LumaPlane& plane)
    : plane_(&plane), width_(plane.width), height_(plane.height) {}

const std::uint8_t* LumaRows::row(int y, int left, int count) {
    const bool last = y + 1 >= height_;
    if (bitmap_ == nullptr) {
        const LumaPlane* plane = plane_ != nullptr ? plane_ : &converted_;
        const std::uint8_t* values =
            plane->values.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(left);
        if (!last) {
            prefetch(values + width_, count);
        }
        return values;
    }
    const std::uint8_t* pixels = bitmap_->scanLine(y) + bytesPerPixel_ * left;
    if (!last) {
        prefetch(pixels + bitmap_->rowStep(), bytesPerPixel_ * count);
    }
    if (bytesPerPixel_ == 3) {
        lumaOfBgrRow(pixels, row_.data(), count);
    } else {
        lumaOfRow<4>(pixels, row_.data(), count);
    }
    return row_.data();
}
