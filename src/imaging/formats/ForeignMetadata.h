#pragma once

#include "imaging/metadata/PictureMetadata.h"

#include <cstddef>
#include <cstdint>

// What a PNG or TIFF file says beside its pixels, put in the shape the JPEG reader gives it, so
// the saving writes it back as it would a JPEG file's. A JPEG file carries an EXIF block or an
// XMP packet in one segment of at most 64 KiB: a larger one is left out rather than failing
// the save.
class ForeignMetadata {
public:
    // The EXIF block's TIFF bytes, and the orientation they say, kept even when the block
    // itself is too large to carry.
    static void setExif(const std::uint8_t* bytes, std::size_t size, PictureMetadata& metadata);
    // An XMP packet, behind the namespace a JPEG file's XMP segment starts with.
    static void addXmp(const std::uint8_t* packet, std::size_t size, PictureMetadata& metadata);
};
