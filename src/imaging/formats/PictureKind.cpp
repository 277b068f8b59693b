#include "imaging/formats/PictureKind.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <string_view>

using namespace std::string_view_literals;

namespace {

bool startsWith(const std::uint8_t* bytes, std::size_t count, std::size_t at,
                std::string_view text) {
    return count >= at + text.size() && std::memcmp(bytes + at, text.data(), text.size()) == 0;
}

// An ISO media file whose brand is one of HEIF's: still pictures of phones and cameras.
bool isHeif(const std::uint8_t* bytes, std::size_t count) {
    if (!startsWith(bytes, count, 4, "ftyp")) {
        return false;
    }
    for (const std::string_view brand :
         {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1", "avif", "avis", "mif2"}) {
        if (startsWith(bytes, count, 8, brand)) {
            return true;
        }
    }
    return false;
}

} // namespace

PictureKind PictureSignature::of(const std::uint8_t* bytes, std::size_t count) {
    if (count >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        return PictureKind::Jpeg;
    }
    // Its reserved bytes keep a text that starts with "BM" from being taken for one.
    if (startsWith(bytes, count, 0, "BM") && startsWith(bytes, count, 6, "\0\0\0\0"sv)) {
        return PictureKind::Bmp;
    }
    if (startsWith(bytes, count, 0, "\x89PNG\r\n\x1a\n"sv)) {
        return PictureKind::Png;
    }
    if (startsWith(bytes, count, 0, "RIFF") && startsWith(bytes, count, 8, "WEBP")) {
        return PictureKind::WebP;
    }
    if (startsWith(bytes, count, 0, "II*\0"sv) || startsWith(bytes, count, 0, "MM\0*"sv) ||
        startsWith(bytes, count, 0, "II+\0"sv) || startsWith(bytes, count, 0, "MM\0+"sv)) {
        return PictureKind::Tiff;
    }
    return isHeif(bytes, count) ? PictureKind::Heif : PictureKind::Unknown;
}

PictureKind PictureSignature::ofFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::array<char, Length> first{};
    file.read(first.data(), first.size());
    return of(reinterpret_cast<const std::uint8_t*>(first.data()),
              static_cast<std::size_t>(std::max<std::streamsize>(0, file.gcount())));
}
