#include "imaging/bmp/TBitmap.h"

#include "imaging/bmp/TBitmapImage.h"
#include "imaging/bmp/TBmpReader.h"
#include "imaging/bmp/TBmpWriter.h"
#include "imaging/bmp/TRowReader.h"
#include "imaging/bmp/TRowWriter.h"
#include "imaging/bmp/TStandardPalettes.h"
#include "imaging/picture/EInvalidGraphic.h"
#include "imaging/picture/EInvalidGraphicOperation.h"
#include "imaging/picture/TPictureFormats.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

bool hasTable(TPixelFormat format) {
    return format == TPixelFormat::Bits1 || format == TPixelFormat::Bits4 ||
           format == TPixelFormat::Bits8;
}

// The description of `image` without its pixels, for a new image of the same kind.
std::shared_ptr<TBitmapImage> emptyLike(const TBitmapImage& image) {
    auto result = std::make_shared<TBitmapImage>();
    result->format = image.format;
    result->masks = image.masks;
    result->customBitCount = image.customBitCount;
    result->bitFields = image.bitFields;
    result->coreHeader = image.coreHeader;
    result->xPelsPerMeter = image.xPelsPerMeter;
    result->yPelsPerMeter = image.yPelsPerMeter;
    result->usedColours = image.usedColours;
    result->importantColours = image.importantColours;
    result->colours = image.colours;
    if (result->colours.empty() && hasTable(image.format)) {
        result->colours = TStandardPalettes::forFormat(image.format);
        result->usedColours = 0;
    }
    return result;
}

void fillWhite(TBitmapImage& image) {
    if (!image.hasPixels()) {
        return;
    }
    const std::vector<std::uint8_t> white(static_cast<std::size_t>(image.width) * 4, 255);
    TRowWriter(image).write(0, white.data());
    const std::uint8_t* first = image.row(0);
    for (int row = 1; row < image.height; ++row) {
        std::memcpy(image.row(row), first, image.stride());
    }
}

// Copies the top-left corner common to two images of the same format.
void copyCorner(const TBitmapImage& source, TBitmapImage& target) {
    const int columns = std::min(source.width, target.width);
    const int rows = std::min(source.height, target.height);
    const int bits = source.bitCount();
    const std::size_t wholeBytes = static_cast<std::size_t>(columns) * bits / 8;
    for (int row = 0; row < rows; ++row) {
        const std::uint8_t* from = source.row(row);
        std::uint8_t* to = target.row(row);
        std::memcpy(to, from, wholeBytes);
        // Formats below 8 bits may end in a partly used byte: keep its white tail.
        const int bitsLeft = static_cast<int>(static_cast<std::size_t>(columns) * bits % 8);
        if (bitsLeft != 0) {
            const auto mask = static_cast<std::uint8_t>(0xFF << (8 - bitsLeft));
            to[wholeBytes] =
                static_cast<std::uint8_t>((from[wholeBytes] & mask) | (to[wholeBytes] & ~mask));
        }
    }
}

} // namespace

TBitmap::TBitmap() : image_(std::make_shared<TBitmapImage>()) {}

TBitmap::~TBitmap() = default;

TBitmapImage& TBitmap::ownImage() {
    // The count is atomic; the fence makes the other owners' last use of the image
    // happen before this one changes it.
    if (image_.use_count() != 1) {
        image_ = std::make_shared<TBitmapImage>(*image_);
    }
    std::atomic_thread_fence(std::memory_order_acquire);
    image_->sourceBytes.clear();
    return *image_;
}

bool TBitmap::empty() const {
    return !image_->hasPixels();
}

int TBitmap::width() const {
    return image_->width;
}

int TBitmap::height() const {
    return image_->height;
}

void TBitmap::setWidth(int width) {
    setSize(width, image_->height);
}

void TBitmap::setHeight(int height) {
    setSize(image_->width, height);
}

void TBitmap::setSize(int width, int height) {
    if (width == image_->width && height == image_->height) {
        return;
    }
    resize(width, height);
    changed();
}

void TBitmap::resize(int width, int height) {
    TBitmapImage::checkSize(width, height, image_->bitCount());
    auto resized = emptyLike(*image_);
    resized->allocate(width, height);
    fillWhite(*resized);
    if (image_->hasPixels() && resized->hasPixels()) {
        copyCorner(*image_, *resized);
    }
    image_ = std::move(resized);
}

void TBitmap::setSizeToOverwrite(int width, int height, bool topDown) {
    TBitmapImage::checkSize(width, height, image_->bitCount());
    auto sized = emptyLike(*image_);
    sized->topDown = topDown;
    sized->allocate(width, height, false);
    image_ = std::move(sized);
    changed();
}

TPixelFormat TBitmap::pixelFormat() const {
    return image_->format;
}

void TBitmap::setPixelFormat(TPixelFormat format) {
    if (format == image_->format) {
        return;
    }
    // A custom layout comes only from a file: there is no telling which one is meant.
    if (format == TPixelFormat::Custom) {
        throw EInvalidGraphic("Format de pixel incorrect");
    }
    if (!image_->hasPixels()) {
        TBitmapImage& image = ownImage();
        image.setFormat(format);
        image.colours.clear();
        image.coreHeader = false;
        return;
    }
    convert(format);
    changed();
}

void TBitmap::convert(TPixelFormat format) {
    const TBitmapImage& source = *image_;
    auto converted = std::make_shared<TBitmapImage>();
    converted->setFormat(format);
    if (format == TPixelFormat::Bits1 && source.colours.size() == 2) {
        converted->colours = source.colours;
    } else {
        converted->colours = TStandardPalettes::forFormat(format);
    }
    converted->allocate(source.width, source.height);
    const TRowReader reader(source);
    TRowWriter writer(*converted);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(source.width) * 4);
    for (int y = 0; y < source.height; ++y) {
        reader.read(y, row.data());
        writer.write(y, row.data());
    }
    image_ = std::move(converted);
}

void TBitmap::releaseImage() {
    auto released = std::make_shared<TBitmapImage>();
    released->format = image_->format;
    released->masks = image_->masks;
    released->customBitCount = image_->customBitCount;
    released->bitFields = image_->bitFields;
    image_ = std::move(released);
}

std::uint8_t* TBitmap::scanLine(int row) {
    static_cast<const TBitmap*>(this)->scanLine(row);
    return ownImage().row(row);
}

const std::uint8_t* TBitmap::scanLine(int row) const {
    if (row < 0 || row >= image_->height || !image_->hasPixels()) {
        throw EInvalidGraphicOperation("Indice ligne hors limites");
    }
    return image_->row(row);
}

std::ptrdiff_t TBitmap::rowStep() const {
    return image_->hasPixels() ? image_->rowStep() : 0;
}

std::uint32_t TBitmap::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_->width || y >= image_->height || !image_->hasPixels()) {
        return 0xFFFFFFFF;
    }
    return TRowReader::pixel(*image_, x, y);
}

void TBitmap::setPixel(int x, int y, std::uint32_t colour) {
    if (x < 0 || y < 0 || x >= image_->width || y >= image_->height || !image_->hasPixels()) {
        return;
    }
    TRowWriter(ownImage()).setPixel(x, y, colour);
    changed();
}

const std::vector<TPaletteEntry>& TBitmap::palette() const {
    return image_->colours;
}

void TBitmap::setPalette(std::vector<TPaletteEntry> palette) {
    TBitmapImage& image = ownImage();
    if (hasTable(image.format)) {
        palette.resize(std::min<std::size_t>(palette.size(), std::size_t{1} << image.bitCount()));
        image.usedColours = palette.size() == (std::size_t{1} << image.bitCount())
                                ? 0
                                : static_cast<std::uint32_t>(palette.size());
    }
    image.colours = std::move(palette);
    changed();
}

void TBitmap::copyToBgra32(std::uint8_t* destination, std::ptrdiff_t destinationStride) const {
    if (!image_->hasPixels()) {
        return;
    }
    const TRowReader reader(*image_);
    for (int y = 0; y < image_->height; ++y, destination += destinationStride) {
        reader.read(y, destination);
    }
}

void TBitmap::ReadFromStream(TStream& stream) {
    std::shared_ptr<TBitmapImage> read = TBmpReader(stream).read();
    image_ = read ? std::move(read) : std::make_shared<TBitmapImage>();
    changed();
}

void TBitmap::WriteToStream(TStream& stream) {
    TBmpWriter(*image_).write(stream);
}

void TBitmap::CopyFrom(const TGraphic* source) {
    if (source == nullptr) {
        image_ = std::make_shared<TBitmapImage>();
    } else if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        image_ = bitmap->image_;
        transparent_ = bitmap->transparent_;
    } else {
        // Another kind of picture hands over the bitmap it draws, decoding it if need be;
        // the decoded bitmap is a cache, not a change of the source.
        const TBitmap* drawn = const_cast<TGraphic*>(source)->drawingBitmap();
        image_ = drawn ? drawn->image_ : std::make_shared<TBitmapImage>();
    }
    changed();
}

std::unique_ptr<TGraphic> TBitmap::createEmpty() const {
    return std::make_unique<TBitmap>();
}

const TBitmap* TBitmap::drawingBitmap() {
    return empty() ? nullptr : this;
}

void registerBitmapFormat() {
    TPictureFormats::instance().add("bmp", "Bitmaps", [] { return std::make_unique<TBitmap>(); });
}
