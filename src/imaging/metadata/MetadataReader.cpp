#include "imaging/metadata/MetadataReader.h"

#include "core/Exception.h"
#include "core/TLittleEndian.h"
#include "core/TStream.h"
#include "imaging/jpeg/JpegDecompressObject.h"
#include "imaging/metadata/ExifBlock.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace {

constexpr std::string_view ExifHeader{"Exif\0\0", 6};
constexpr std::string_view XmpHeader{"http://ns.adobe.com/xap/1.0/\0", 29};
constexpr std::string_view ExtendedXmpHeader{"http://ns.adobe.com/xmp/extension/\0", 35};

bool startsWith(const jpeg_marker_struct& marker, std::string_view header) {
    return marker.data_length >= header.size() &&
           std::equal(header.begin(), header.end(), reinterpret_cast<const char*>(marker.data));
}

void takeApp1(const jpeg_marker_struct& marker, PictureMetadata& metadata) {
    const std::uint8_t* data = marker.data;
    if (startsWith(marker, ExifHeader) && metadata.exif.empty()) {
        metadata.exif.assign(data + ExifHeader.size(), data + marker.data_length);
        metadata.orientation = ExifBlock(metadata.exif).orientation();
    } else if (startsWith(marker, XmpHeader) || startsWith(marker, ExtendedXmpHeader)) {
        metadata.xmp.emplace_back(data, data + marker.data_length);
    }
}

// The fifth-version header: its size, and where its colour space and profile fields lie,
// counted from the header's start.
constexpr std::size_t FileHeaderLength = 14;
constexpr std::uint32_t FifthHeaderLength = 124;
constexpr std::size_t ColourSpaceField = 56;
constexpr std::size_t ProfileOffsetField = 112;
constexpr std::size_t ProfileLengthField = 116;
constexpr std::uint32_t ProfileEmbedded = 0x4D424544; // "MBED"

} // namespace

PictureMetadata MetadataReader::fromJpeg(const std::uint8_t* bytes, std::size_t size) {
    PictureMetadata metadata;
    JpegErrorManager errors;
    JpegDecompressObject object(errors);
    jpeg_decompress_struct& cinfo = object.cinfo;
    JOCTET* profile = nullptr;
    unsigned int profileLength = 0;
    try {
        errors.run([&] {
            object.create();
            jpeg_mem_src(&cinfo, bytes, static_cast<unsigned long>(size));
            jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
            jpeg_save_markers(&cinfo, JPEG_APP0 + 2, 0xFFFF);
            jpeg_read_header(&cinfo, TRUE);
            jpeg_read_icc_profile(&cinfo, &profile, &profileLength);
        });
    } catch (const Exception&) {
        // A header the library refuses: the decode says so, not this.
    }
    if (profile) {
        metadata.iccProfile.assign(profile, profile + profileLength);
        std::free(profile);
    }
    for (jpeg_saved_marker_ptr marker = cinfo.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1) {
            takeApp1(*marker, metadata);
        }
    }
    return metadata;
}

PictureMetadata MetadataReader::fromBmp(TStream& file) {
    PictureMetadata metadata;
    std::uint8_t bytes[FileHeaderLength + FifthHeaderLength];
    file.setPosition(0);
    if (file.read(bytes, sizeof bytes) != sizeof bytes || bytes[0] != 'B' || bytes[1] != 'M') {
        return metadata;
    }
    const std::uint8_t* header = bytes + FileHeaderLength;
    if (TLittleEndian::u32(header) < FifthHeaderLength ||
        TLittleEndian::u32(header + ColourSpaceField) != ProfileEmbedded) {
        return metadata;
    }
    const std::int64_t offset = TLittleEndian::u32(header + ProfileOffsetField);
    const std::int64_t length = TLittleEndian::u32(header + ProfileLengthField);
    const std::int64_t room = file.size() - static_cast<std::int64_t>(FileHeaderLength);
    if (offset > room || length > room - offset) {
        return metadata; // both can be bogus
    }
    metadata.iccProfile.resize(static_cast<std::size_t>(length));
    file.setPosition(static_cast<std::int64_t>(FileHeaderLength) + offset);
    if (file.read(metadata.iccProfile.data(), metadata.iccProfile.size()) !=
        metadata.iccProfile.size()) {
        metadata.iccProfile.clear();
    }
    return metadata;
}
