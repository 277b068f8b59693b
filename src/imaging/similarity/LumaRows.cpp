#include "imaging/similarity/LumaRows.h"

#include "imaging/bmp/TBitmap.h"

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
    const std::uint8_t* pixel = bitmap_->scanLine(y);
    for (int x = 0; x < width_; ++x, pixel += bytesPerPixel_) {
        row_[static_cast<std::size_t>(x)] = LumaPlane::luma(pixel[2], pixel[1], pixel[0]);
    }
    return row_.data();
}
