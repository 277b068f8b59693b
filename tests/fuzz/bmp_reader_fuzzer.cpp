// Reads arbitrary bytes as a BMP file, then uses the picture the way the program does:
// writes it back, draws it, converts copies to 24 and 8 bits, resizes, reads its pixels.
#include "core/Exception.h"
#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/metadata/MetadataReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::int64_t field32(const std::uint8_t* data) {
    return static_cast<std::int32_t>(data[0] | (data[1] << 8) | (data[2] << 16) |
                                     (std::uint32_t{data[3]} << 24));
}

// Run-length data may describe pictures of up to 1 GiB from a few bytes; such pictures are
// legal but make every run slow, so only their refusal paths are explored here.
bool tooSlowToFuzz(const std::uint8_t* data, std::size_t size) {
    if (size < 26 || field32(data + 14) == 12) {
        return false;
    }
    const std::int64_t width = field32(data + 18);
    const std::int64_t height = std::llabs(field32(data + 22));
    // Beyond 2^28 pixels, decoded at four bytes a pixel, they no longer fit and are refused.
    const std::int64_t pixels = width * height;
    return width > 0 && pixels > (1 << 22) && pixels <= (1 << 28);
}

void use(TBitmap& bitmap) {
    TMemoryStream written;
    bitmap.WriteToStream(written);
    if (bitmap.empty()) {
        return;
    }
    const auto stride = static_cast<std::ptrdiff_t>(bitmap.width()) * 4;
    std::vector<std::uint8_t> drawn(static_cast<std::size_t>(stride) * bitmap.height());
    bitmap.copyToBgra32(drawn.data(), stride);

    TBitmap copy;
    copy.CopyFrom(&bitmap);
    copy.setPixelFormat(TPixelFormat::Bits24);
    copy.setPixel(0, 0, bitmap.pixel(bitmap.width() - 1, bitmap.height() - 1));
    copy.scanLine(copy.height() - 1)[0] = 1;
    // Matching colours against the halftone table costs more: small pictures only.
    if (static_cast<std::int64_t>(bitmap.width()) * bitmap.height() <= 4096) {
        TBitmap indexed;
        indexed.CopyFrom(&bitmap);
        indexed.setPixelFormat(TPixelFormat::Bits8);
        indexed.setSize(bitmap.width() + 1, bitmap.height());
    }

    written.setPosition(0);
    TBitmap reread;
    reread.ReadFromStream(written);
    if (reread.width() != bitmap.width() || reread.height() != bitmap.height()) {
        std::abort(); // what the bitmap writes it must read back
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (tooSlowToFuzz(data, size)) {
        return 0;
    }
    TMemoryStream stream;
    stream.writeBuffer(data, size);
    MetadataReader::fromBmp(stream); // the embedded profile, from the file's start
    stream.setPosition(0);
    TBitmap bitmap;
    try {
        bitmap.ReadFromStream(stream);
    } catch (const Exception&) {
        return 0;
    }
    use(bitmap);
    return 0;
}
