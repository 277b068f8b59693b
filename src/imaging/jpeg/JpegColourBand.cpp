#include "imaging/jpeg/JpegColourBand.h"

#include "imaging/bmp/TBitmap.h"

#include <algorithm>

JpegColourBand::JpegColourBand(int pictureWidth, int pictureHeight, bool subsampledChroma)
    : pictureWidth_(pictureWidth), pictureHeight_(pictureHeight), subsampled_(subsampledChroma),
      bandHeight_(subsampledChroma ? 16 : 8) {
    const int mcu = bandHeight_;
    paddedWidth_ = (pictureWidth + mcu - 1) / mcu * mcu;
    const std::size_t full = static_cast<std::size_t>(paddedWidth_) * bandHeight_;
    luma_.resize(full);
    blue_.resize(full);
    red_.resize(full);
    if (subsampled_) {
        halfBlue_.resize(full / 4);
        halfRed_.resize(full / 4);
    }
}

void JpegColourBand::fill(const TBitmap& rgb, int band) {
    for (int row = 0; row < bandHeight_; ++row) {
        const int y = std::min(band * bandHeight_ + row, pictureHeight_ - 1);
        convertRow(rgb.scanLine(y), row);
    }
    if (subsampled_) {
        halveChroma();
    }
}

// The JFIF conversion, with the level shift of the DCT folded in.
void JpegColourBand::convertRow(const unsigned char* bgr, int row) {
    const std::size_t start = static_cast<std::size_t>(row) * paddedWidth_;
    for (int x = 0; x < paddedWidth_; ++x) {
        const unsigned char* pixel = bgr + 3 * std::min(x, pictureWidth_ - 1);
        const float b = pixel[0];
        const float g = pixel[1];
        const float r = pixel[2];
        const std::size_t at = start + static_cast<std::size_t>(x);
        luma_[at] = 0.299f * r + 0.587f * g + 0.114f * b - 128.0f;
        blue_[at] = -0.168736f * r - 0.331264f * g + 0.5f * b;
        red_[at] = 0.5f * r - 0.418688f * g - 0.081312f * b;
    }
}

void JpegColourBand::halveChroma() {
    const int halfWidth = paddedWidth_ / 2;
    for (int y = 0; y < bandHeight_ / 2; ++y) {
        const float* blue = &blue_[static_cast<std::size_t>(2 * y) * paddedWidth_];
        const float* red = &red_[static_cast<std::size_t>(2 * y) * paddedWidth_];
        float* halfBlue = &halfBlue_[static_cast<std::size_t>(y) * halfWidth];
        float* halfRed = &halfRed_[static_cast<std::size_t>(y) * halfWidth];
        for (int x = 0; x < halfWidth; ++x) {
            const int l = 2 * x;
            const int below = paddedWidth_ + l;
            halfBlue[x] = 0.25f * (blue[l] + blue[l + 1] + blue[below] + blue[below + 1]);
            halfRed[x] = 0.25f * (red[l] + red[l + 1] + red[below] + red[below + 1]);
        }
    }
}

int JpegColourBand::blocksAcross(int component) const {
    return component > 0 && subsampled_ ? paddedWidth_ / 16 : paddedWidth_ / 8;
}

int JpegColourBand::blocksDown(int component) const {
    return component > 0 && subsampled_ ? 1 : bandHeight_ / 8;
}

const std::vector<float>& JpegColourBand::plane(int component) const {
    if (component == 0) {
        return luma_;
    }
    if (component == 1) {
        return subsampled_ ? halfBlue_ : blue_;
    }
    return subsampled_ ? halfRed_ : red_;
}

void JpegColourBand::block(int component, int column, int row, float* samples) const {
    const std::vector<float>& source = plane(component);
    const int width = blocksAcross(component) * 8;
    for (int y = 0; y < 8; ++y) {
        const float* line = &source[static_cast<std::size_t>(row * 8 + y) * width + column * 8];
        std::copy(line, line + 8, samples + y * 8);
    }
}
