#include "imaging/bmp/TBmpReader.h"

#include "core/EReadError.h"
#include "core/TLittleEndian.h"
#include "core/TStream.h"
#include "imaging/bmp/TMaskLayout.h"
#include "imaging/bmp/TRleDecoder.h"
#include "imaging/picture/EInvalidGraphic.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

namespace {

constexpr std::size_t fileHeaderSize = 14;
// The largest header form known (the fifth version); the bytes beyond are skipped.
constexpr std::size_t largestHeaderSize = 124;
constexpr std::uint32_t maximumColours = 256;

bool allowedBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

} // namespace

TBmpReader::TBmpReader(TStream& stream) : stream_(stream) {}

std::int64_t TBmpReader::offset() {
    return stream_.position() - start_;
}

std::int64_t TBmpReader::remaining() {
    return size_ - offset();
}

std::shared_ptr<TBitmapImage> TBmpReader::read() {
    start_ = stream_.position();
    size_ = stream_.remaining();
    if (size_ <= 0) {
        return nullptr;
    }
    readFileHeader();
    readInfoHeader();
    validate();
    readMasks();
    const std::optional<std::int64_t> pixels = pixelOffset();
    readColourTable(pixels);
    // Forwards past a gap, or backwards when the table announced more than it holds.
    if (pixels) {
        stream_.setPosition(start_ + *pixels);
    }
    const std::uint32_t compression = header_.compression;
    if (compression == TBmpInfoHeader::rgb || compression == TBmpInfoHeader::bitFields) {
        return readUncompressed();
    }
    return readCompressed();
}

void TBmpReader::readFileHeader() {
    std::array<std::uint8_t, fileHeaderSize> bytes{};
    stream_.readBuffer(bytes.data(), bytes.size());
    if (bytes[0] != 'B' || bytes[1] != 'M') {
        throw EInvalidGraphic();
    }
    pixelOffset_ = TLittleEndian::u32(bytes.data() + 10);
}

void TBmpReader::readInfoHeader() {
    std::array<std::uint8_t, 4> size{};
    stream_.readBuffer(size.data(), size.size());
    header_.size = TLittleEndian::u32(size.data());
    if (header_.core()) {
        readCoreFields();
    } else {
        readInfoFields();
    }
}

void TBmpReader::readCoreFields() {
    std::array<std::uint8_t, 8> bytes{};
    stream_.readBuffer(bytes.data(), bytes.size());
    header_.width = TLittleEndian::u16(bytes.data());
    header_.height = TLittleEndian::u16(bytes.data() + 2);
    header_.planes = TLittleEndian::u16(bytes.data() + 4);
    header_.bitCount = TLittleEndian::u16(bytes.data() + 6);
}

void TBmpReader::readInfoFields() {
    // Width, height, planes and bit count need at least 16 bytes.
    if (header_.size < 16) {
        throw EInvalidGraphic();
    }
    const std::int64_t body = std::int64_t{header_.size} - 4;
    if (body > remaining()) {
        throw EReadError();
    }
    std::array<std::uint8_t, largestHeaderSize - 4> bytes{};
    const auto kept = static_cast<std::size_t>(std::min<std::int64_t>(body, bytes.size()));
    stream_.readBuffer(bytes.data(), kept);
    stream_.seek(body - static_cast<std::int64_t>(kept), SeekOrigin::Current);
    // Offsets count from the start of the header, whose size field is already read.
    const auto field = [&bytes](std::size_t offset) { return bytes.data() + (offset - 4); };
    header_.width = TLittleEndian::i32(field(4));
    header_.height = TLittleEndian::i32(field(8));
    header_.planes = TLittleEndian::u16(field(12));
    header_.bitCount = TLittleEndian::u16(field(14));
    header_.compression = TLittleEndian::u32(field(16));
    header_.sizeImage = TLittleEndian::u32(field(20));
    header_.xPelsPerMeter = TLittleEndian::i32(field(24));
    header_.yPelsPerMeter = TLittleEndian::i32(field(28));
    header_.usedColours = TLittleEndian::u32(field(32));
    header_.importantColours = TLittleEndian::u32(field(36));
    for (std::size_t i = 0; i < 3; ++i) {
        header_.masks[i] = TLittleEndian::u32(field(40 + 4 * i));
    }
}

void TBmpReader::validate() const {
    const int bits = header_.bitCount;
    const std::uint32_t compression = header_.compression;
    const bool valid =
        header_.planes == 1 && allowedBitCount(bits) &&
        (compression == TBmpInfoHeader::rgb || (compression == TBmpInfoHeader::rle8 && bits == 8) ||
         (compression == TBmpInfoHeader::rle4 && bits == 4) ||
         (compression == TBmpInfoHeader::bitFields && (bits == 16 || bits == 32))) &&
        header_.width > 0 && header_.height != 0 &&
        // Run-length data is always stored bottom-up.
        (header_.height > 0 || compression == TBmpInfoHeader::rgb ||
         compression == TBmpInfoHeader::bitFields);
    if (!valid) {
        throw EInvalidGraphic();
    }
    const bool decoded = compression == TBmpInfoHeader::rle8 || compression == TBmpInfoHeader::rle4;
    TBitmapImage::checkSize(header_.width, std::llabs(header_.height), decoded ? 32 : bits);
}

void TBmpReader::readMasks() {
    // Headers of 52 bytes and more carry the masks themselves.
    if (header_.compression != TBmpInfoHeader::bitFields || header_.size >= 52) {
        return;
    }
    std::array<std::uint8_t, 12> bytes{};
    stream_.readBuffer(bytes.data(), bytes.size());
    for (int i = 0; i < 3; ++i) {
        header_.masks[i] = TLittleEndian::u32(bytes.data() + 4 * i);
    }
}

// The pixel offset of the file header, when it can be one: after the headers, inside the file.
std::optional<std::int64_t> TBmpReader::pixelOffset() {
    if (pixelOffset_ >= offset() && pixelOffset_ <= size_) {
        return pixelOffset_;
    }
    return std::nullopt;
}

std::uint32_t TBmpReader::tableEntries(std::optional<std::int64_t> pixels) {
    std::uint32_t count = header_.usedColours;
    if (count == 0 && header_.bitCount <= 8) {
        count = 1u << header_.bitCount;
    }
    // Core headers cannot say how many entries follow: some files hold fewer, and their
    // pixel offset shows where the table ends.
    if (header_.core() && pixels) {
        const std::int64_t room = (*pixels - offset()) / 3;
        count = static_cast<std::uint32_t>(std::min<std::int64_t>(count, room));
    }
    return count;
}

void TBmpReader::readColourTable(std::optional<std::int64_t> pixels) {
    const std::uint32_t count = tableEntries(pixels);
    const std::size_t entrySize = header_.core() ? 3 : 4;
    const std::int64_t tableBytes = std::int64_t{count} * entrySize;
    if (tableBytes > remaining()) {
        throw EReadError(); // looked at before anything is allocated
    }
    // Indexes of 8 bits reach no further than this.
    const std::uint32_t kept = std::min(count, maximumColours);
    std::vector<std::uint8_t> bytes(kept * entrySize);
    stream_.readBuffer(bytes.data(), bytes.size());
    stream_.seek(tableBytes - static_cast<std::int64_t>(bytes.size()), SeekOrigin::Current);
    colours_.resize(kept);
    for (std::uint32_t i = 0; i < kept; ++i) {
        const std::uint8_t* entry = bytes.data() + i * entrySize;
        colours_[i] = {entry[2], entry[1], entry[0], 0};
    }
}

TPixelFormat TBmpReader::format() const {
    switch (header_.bitCount) {
    case 1:
        return TPixelFormat::Bits1;
    case 4:
        return TPixelFormat::Bits4;
    case 8:
        return TPixelFormat::Bits8;
    case 24:
        return TPixelFormat::Bits24;
    default:
        break;
    }
    const bool sixteen = header_.bitCount == 16;
    if (header_.compression != TBmpInfoHeader::bitFields) {
        return sixteen ? TPixelFormat::Bits15 : TPixelFormat::Bits32;
    }
    if (sixteen && header_.masks == TMaskLayout::masks555) {
        return TPixelFormat::Bits15;
    }
    if (sixteen && header_.masks == TMaskLayout::masks565) {
        return TPixelFormat::Bits16;
    }
    if (!sixteen && header_.masks == TMaskLayout::masks888) {
        return TPixelFormat::Bits32;
    }
    return TPixelFormat::Custom;
}

void TBmpReader::describe(TBitmapImage& image) const {
    image.setFormat(format());
    if (header_.compression == TBmpInfoHeader::bitFields) {
        image.bitFields = true;
        image.masks = header_.masks;
        image.customBitCount = header_.bitCount;
    }
    image.topDown = header_.height < 0;
    image.coreHeader = header_.core();
    image.xPelsPerMeter = header_.xPelsPerMeter;
    image.yPelsPerMeter = header_.yPelsPerMeter;
    image.usedColours = std::min(header_.usedColours, maximumColours);
    image.importantColours = header_.importantColours;
    image.colours = colours_;
}

std::shared_ptr<TBitmapImage> TBmpReader::readUncompressed() {
    const auto height = static_cast<std::int64_t>(std::llabs(header_.height));
    const std::int64_t needed =
        static_cast<std::int64_t>(TBitmapImage::strideFor(header_.width, header_.bitCount)) *
        height;
    // A header can promise far more than the file holds: look before allocating.
    if (needed > remaining()) {
        throw EReadError();
    }
    auto image = std::make_shared<TBitmapImage>();
    describe(*image);
    image->allocate(header_.width, static_cast<int>(height));
    stream_.readBuffer(image->pixels.data(), image->pixels.size());
    return image;
}

std::shared_ptr<TBitmapImage> TBmpReader::readCompressed() {
    const std::int64_t pixelStart = offset();
    std::int64_t count = header_.sizeImage;
    if (count == 0) {
        count =
            static_cast<std::int64_t>(TBitmapImage::strideFor(header_.width, header_.bitCount)) *
            header_.height;
    }
    count = std::min(count, remaining());
    auto image = std::make_shared<TBitmapImage>();
    image->setFormat(TPixelFormat::Device);
    image->sourceBytes.resize(static_cast<std::size_t>(size_));
    stream_.setPosition(start_);
    stream_.readBuffer(image->sourceBytes.data(), image->sourceBytes.size());
    image->colours = colours_;
    image->allocate(header_.width, header_.height);
    TRleDecoder(image->sourceBytes.data() + pixelStart, static_cast<std::size_t>(count),
                header_.compression == TBmpInfoHeader::rle4, colours_)
        .decode(*image);
    return image;
}
