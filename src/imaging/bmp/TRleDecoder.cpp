#include "imaging/bmp/TRleDecoder.h"

#include <algorithm>

namespace {

constexpr std::uint8_t endOfLine = 0;
constexpr std::uint8_t endOfBitmap = 1;
constexpr std::uint8_t delta = 2;

} // namespace

TRleDecoder::TRleDecoder(const std::uint8_t* data, std::size_t size, bool fourBit,
                         const std::vector<TPaletteEntry>& colours)
    : data_(data), size_(size), fourBit_(fourBit) {
    // Indexes beyond the table stay black.
    const std::size_t count = std::min(colours.size(), colours_.size());
    for (std::size_t i = 0; i < count; ++i) {
        colours_[i] = colours[i].blue | (colours[i].green << 8) | (colours[i].red << 16);
    }
}

std::uint8_t TRleDecoder::indexAt(const std::uint8_t* bytes, int i) const {
    if (!fourBit_) {
        return bytes[i];
    }
    const std::uint8_t pair = bytes[i / 2];
    return (i % 2 == 0) ? pair >> 4 : pair & 0x0F;
}

void TRleDecoder::put(std::uint8_t index) {
    if (x_ >= target_->width) {
        return;
    }
    std::uint8_t* pixel = target_->pixels.data() +
                          static_cast<std::size_t>(y_) * target_->stride() +
                          static_cast<std::size_t>(x_) * 4;
    const std::uint32_t colour = colours_[index];
    pixel[0] = static_cast<std::uint8_t>(colour);
    pixel[1] = static_cast<std::uint8_t>(colour >> 8);
    pixel[2] = static_cast<std::uint8_t>(colour >> 16);
    ++x_;
}

void TRleDecoder::run(int count, std::uint8_t value) {
    // In 4-bit data the two halves of the byte alternate.
    const std::uint8_t pair[2] = {value, value};
    for (int i = 0; i < count && x_ < target_->width; ++i) {
        put(indexAt(pair, fourBit_ ? i % 2 : 0));
    }
}

void TRleDecoder::literal(int count) {
    const std::size_t bytes = fourBit_ ? (static_cast<std::size_t>(count) + 1) / 2 : count;
    // A literal that the data cuts short gives what it has.
    const std::size_t available = std::min(bytes, size_ - next_);
    const int pixels = fourBit_ ? std::min<int>(count, static_cast<int>(available * 2))
                                : static_cast<int>(available);
    for (int i = 0; i < pixels && x_ < target_->width; ++i) {
        put(indexAt(data_ + next_, i));
    }
    // Literals are padded to a whole 16-bit word.
    next_ = std::min(size_, next_ + bytes + (bytes % 2));
}

bool TRleDecoder::escape(std::uint8_t code) {
    switch (code) {
    case endOfLine:
        x_ = 0;
        ++y_;
        return true;
    case endOfBitmap:
        return false;
    case delta:
        if (size_ - next_ < 2) {
            return false;
        }
        x_ = std::min(x_ + data_[next_], target_->width);
        y_ += data_[next_ + 1];
        next_ += 2;
        return true;
    default:
        literal(code);
        return true;
    }
}

void TRleDecoder::decode(TBitmapImage& target) {
    target_ = &target;
    while (size_ - next_ >= 2 && y_ < target.height) {
        const std::uint8_t count = data_[next_];
        const std::uint8_t value = data_[next_ + 1];
        next_ += 2;
        if (count != 0) {
            run(count, value);
        } else if (!escape(value)) {
            return;
        }
    }
}
