#pragma once

#include "imaging/formats/DecodedPicture.h"
#include "imaging/formats/PictureReadOptions.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Reads PNG files of every colour type and bit depth, interlaced or not, as 24-bit pixels laid
// on the options' background, with the file's colour profile, EXIF block and XMP packet.
// Gamma chunks are left alone: the pixels are given as stored.
class PngReader {
public:
    // Raises EPictureFile (message "not a valid PNG file", reason in the library's words or the
    // pixel bound), EFOpenError when the file cannot be opened, EAbort on a stop.
    static void read(const std::string& path, const PictureReadOptions& options,
                     DecodedPicture& out);
    // The same from the file's bytes in memory.
    static void read(const std::uint8_t* bytes, std::size_t size, const PictureReadOptions& options,
                     DecodedPicture& out);
};
