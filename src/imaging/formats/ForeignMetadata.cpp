#include "imaging/formats/ForeignMetadata.h"

#include "imaging/metadata/ExifBlock.h"

#include <string_view>

namespace {

// The most data bytes a JPEG segment holds.
constexpr std::size_t LongestSegment = 65533;
// The JPEG segment's start before the EXIF block's bytes.
constexpr std::size_t ExifHeader = 6;
constexpr std::string_view XmpNamespace{"http://ns.adobe.com/xap/1.0/\0", 29};

} // namespace

void ForeignMetadata::setExif(const std::uint8_t* bytes, std::size_t size,
                              PictureMetadata& metadata) {
    std::vector<std::uint8_t> tiff(bytes, bytes + size);
    metadata.orientation = ExifBlock(tiff).orientation();
    if (ExifHeader + size <= LongestSegment) {
        metadata.exif = std::move(tiff);
    }
}

void ForeignMetadata::addXmp(const std::uint8_t* packet, std::size_t size,
                             PictureMetadata& metadata) {
    if (XmpNamespace.size() + size > LongestSegment) {
        return;
    }
    std::vector<std::uint8_t> payload(XmpNamespace.begin(), XmpNamespace.end());
    payload.insert(payload.end(), packet, packet + size);
    metadata.xmp.push_back(std::move(payload));
}
