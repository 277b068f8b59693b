#include "imaging/bmp/TBmpWriter.h"

#include "core/TLittleEndian.h"
#include "core/TStream.h"
#include "imaging/bmp/TBmpInfoHeader.h"

#include <algorithm>

namespace {

// A picture of more bits per pixel writes at most this many palette entries.
constexpr std::size_t maximumPaletteEntries = 255;

} // namespace

TBmpWriter::TBmpWriter(const TBitmapImage& image) : image_(image) {}

bool TBmpWriter::core() const {
    return image_.coreHeader && !image_.topDown && image_.format != TPixelFormat::Device &&
           image_.width <= 0xFFFF && image_.height <= 0xFFFF;
}

int TBmpWriter::bitCount() const {
    // Device pictures are written in the display's depth, 32 bits per pixel.
    return image_.format == TPixelFormat::Device ? 32 : image_.bitCount();
}

std::uint32_t TBmpWriter::compression() const {
    const bool masks = image_.bitFields && bitCount() > 8 && image_.format != TPixelFormat::Device;
    return masks ? TBmpInfoHeader::bitFields : TBmpInfoHeader::rgb;
}

std::size_t TBmpWriter::tableEntries() const {
    const int bits = bitCount();
    if (core()) {
        return bits <= 8 ? std::size_t{1} << bits : 0;
    }
    std::size_t count = image_.colours.size();
    if (bits > 8) {
        return std::min(count, maximumPaletteEntries);
    }
    if (image_.usedColours != 0 && image_.usedColours < count) {
        count = image_.usedColours;
    }
    return count;
}

std::uint32_t TBmpWriter::usedColoursField() const {
    const std::size_t count = tableEntries();
    // A full table read with a count of 0 keeps saying 0.
    if (bitCount() <= 8 && count == (std::size_t{1} << bitCount()) && image_.usedColours == 0) {
        return 0;
    }
    return static_cast<std::uint32_t>(count);
}

std::uint32_t TBmpWriter::headerAndTableSize() const {
    if (core()) {
        return static_cast<std::uint32_t>(TBmpInfoHeader::coreSize + 3 * tableEntries());
    }
    const std::uint32_t masks = compression() == TBmpInfoHeader::bitFields ? 12 : 0;
    return static_cast<std::uint32_t>(TBmpInfoHeader::infoSize + masks + 4 * tableEntries());
}

void TBmpWriter::appendCoreHeader(std::vector<std::uint8_t>& out) const {
    TLittleEndian::put32(out, TBmpInfoHeader::coreSize);
    TLittleEndian::put16(out, static_cast<std::uint32_t>(image_.width));
    TLittleEndian::put16(out, static_cast<std::uint32_t>(image_.height));
    TLittleEndian::put16(out, 1);
    TLittleEndian::put16(out, static_cast<std::uint32_t>(bitCount()));
}

void TBmpWriter::appendInfoHeader(std::vector<std::uint8_t>& out) const {
    const bool device = image_.format == TPixelFormat::Device;
    TLittleEndian::put32(out, TBmpInfoHeader::infoSize);
    TLittleEndian::put32(out, static_cast<std::uint32_t>(image_.width));
    TLittleEndian::put32(
        out, static_cast<std::uint32_t>(image_.topDown ? -image_.height : image_.height));
    TLittleEndian::put16(out, 1);
    TLittleEndian::put16(out, static_cast<std::uint32_t>(bitCount()));
    TLittleEndian::put32(out, compression());
    TLittleEndian::put32(out, static_cast<std::uint32_t>(image_.pixels.size()));
    TLittleEndian::put32(out, device ? 0 : static_cast<std::uint32_t>(image_.xPelsPerMeter));
    TLittleEndian::put32(out, device ? 0 : static_cast<std::uint32_t>(image_.yPelsPerMeter));
    TLittleEndian::put32(out, usedColoursField());
    TLittleEndian::put32(out, device ? 0 : image_.importantColours);
    if (compression() == TBmpInfoHeader::bitFields) {
        for (std::uint32_t mask : image_.masks) {
            TLittleEndian::put32(out, mask);
        }
    }
}

void TBmpWriter::appendTable(std::vector<std::uint8_t>& out) const {
    const std::size_t count = tableEntries();
    for (std::size_t i = 0; i < count; ++i) {
        // A core table always has all its entries; missing ones are black.
        const TPaletteEntry entry = i < image_.colours.size() ? image_.colours[i] : TPaletteEntry{};
        out.push_back(entry.blue);
        out.push_back(entry.green);
        out.push_back(entry.red);
        if (!core()) {
            out.push_back(0);
        }
    }
}

std::vector<std::uint8_t> TBmpWriter::headers() const {
    const std::uint32_t offset = 14 + headerAndTableSize();
    std::vector<std::uint8_t> out{'B', 'M'};
    TLittleEndian::put32(out, offset + static_cast<std::uint32_t>(image_.pixels.size()));
    TLittleEndian::put32(out, 0);
    TLittleEndian::put32(out, offset);
    if (core()) {
        appendCoreHeader(out);
    } else {
        appendInfoHeader(out);
    }
    appendTable(out);
    return out;
}

void TBmpWriter::write(TStream& stream) const {
    if (!image_.sourceBytes.empty()) {
        stream.writeBuffer(image_.sourceBytes.data(), image_.sourceBytes.size());
        return;
    }
    if (!image_.hasPixels()) {
        return;
    }
    const std::vector<std::uint8_t> bytes = headers();
    stream.writeBuffer(bytes.data(), bytes.size());
    stream.writeBuffer(image_.pixels.data(), image_.pixels.size());
}
