#pragma once

#include "imaging/formats/DecodedPicture.h"
#include "imaging/formats/PictureReadOptions.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Reads the primary picture of a HEIF file (HEVC, phones' .heic) or an AVIF file (AV1), tiles
// joined, upright (the file's turn and mirror applied, so its way up is given as 1), 10 and
// 12-bit levels rounded to 8 bits, transparency laid on the background. The colour profile
// is kept, or made from the colour numbers a file gives instead; EXIF and XMP are kept.
// Thumbnails, depth maps and the other pictures of a collection are not read.
class HeifReader {
public:
    // Raises EPictureFile (message "not a valid HEIF file", reason in the library's words, the
    // pixel bound, or the codec missing), EFOpenError when the file cannot be opened, EAbort
    // on a stop.
    static void read(const std::string& path, const PictureReadOptions& options,
                     DecodedPicture& out);
    // The same from a whole file in memory.
    static void read(const std::uint8_t* bytes, std::size_t size, const PictureReadOptions& options,
                     DecodedPicture& out);
};
