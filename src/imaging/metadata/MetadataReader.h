#pragma once

#include "imaging/metadata/PictureMetadata.h"

#include <cstddef>
#include <cstdint>

class TStream;

// Takes what a file says beside its pixels from the file's bytes. Never fails: whatever is
// missing or unsound is left out.
class MetadataReader {
public:
    // The colour profile (every APP2 chunk, joined by the library), the first EXIF block and
    // every XMP packet of a JPEG file.
    static PictureMetadata fromJpeg(const std::uint8_t* bytes, std::size_t size);
    // The profile a BMP file's fifth-version header carries within the file, the file read
    // from the start of `file`; the position is left anywhere.
    static PictureMetadata fromBmp(TStream& file);
};
