#include "imaging/BmpTestFiles.h"

#include "core/Exception.h"
#include "core/TMemoryStream.h"

namespace {

void put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(Bytes& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

} // namespace

Bytes BmpFile::bytes() const {
    Bytes header;
    put32(header, headerSize);
    if (headerSize == 12) {
        put16(header, static_cast<std::uint32_t>(width));
        put16(header, static_cast<std::uint32_t>(height));
        put16(header, planes);
        put16(header, bitCount);
    } else {
        put32(header, static_cast<std::uint32_t>(width));
        put32(header, static_cast<std::uint32_t>(height));
        put16(header, planes);
        put16(header, bitCount);
        put32(header, compression);
        put32(header, static_cast<std::uint32_t>(pixels.size()));
        put32(header, 2835);
        put32(header, 2835);
        put32(header, usedColours);
        put32(header, 0);
    }
    for (std::uint32_t mask : masks) {
        put32(header, mask);
    }
    header.resize(std::max<std::size_t>(header.size(), headerSize), 0);
    for (std::uint32_t rgb : table) {
        header.push_back(static_cast<std::uint8_t>(rgb));
        header.push_back(static_cast<std::uint8_t>(rgb >> 8));
        header.push_back(static_cast<std::uint8_t>(rgb >> 16));
        if (headerSize != 12) {
            header.push_back(0);
        }
    }
    header.resize(header.size() + gap, 0xEE);
    const auto offset = static_cast<std::uint32_t>(14 + header.size());
    Bytes file{static_cast<std::uint8_t>(signature[0]), static_cast<std::uint8_t>(signature[1])};
    put32(file, offset + static_cast<std::uint32_t>(pixels.size()));
    put32(file, 0);
    put32(file, offset);
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

Bytes paddedRows(const std::vector<Bytes>& rows) {
    Bytes out;
    for (const Bytes& row : rows) {
        out.insert(out.end(), row.begin(), row.end());
        out.resize(out.size() + (4 - row.size() % 4) % 4, 0);
    }
    return out;
}

void readBitmap(TBitmap& bitmap, const Bytes& bytes) {
    TMemoryStream stream;
    stream.writeBuffer(bytes.data(), bytes.size());
    stream.setPosition(0);
    bitmap.ReadFromStream(stream);
}

Bytes writeBitmap(TBitmap& bitmap) {
    TMemoryStream stream;
    bitmap.WriteToStream(stream);
    return Bytes(stream.memory(), stream.memory() + stream.size());
}

std::vector<std::uint32_t> pixelsOf(const TBitmap& bitmap) {
    std::vector<std::uint32_t> result;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            result.push_back(bitmap.pixel(x, y));
        }
    }
    return result;
}

std::uint32_t colour(std::uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

std::string readError(const Bytes& bytes) {
    TBitmap bitmap;
    try {
        readBitmap(bitmap, bytes);
    } catch (const Exception& error) {
        return error.message();
    }
    return "";
}
