#pragma once

#include "imaging/formats/DecodedPicture.h"
#include "imaging/formats/PictureReadOptions.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Reads the first page of a TIFF file, in any compression libtiff has, as 24-bit pixels laid
// on the options' background, with its colour profile and XMP packet. The pixels come as
// stored: the file's orientation tag is given as metadata.orientation, for the saving to write
// as an EXIF orientation, as a JPEG file's pixels and way up are.
class TiffReader {
public:
    // Raises EPictureFile (message "not a valid TIFF file", reason in libtiff's words or the
    // pixel bound), EFOpenError when the file cannot be opened, EAbort on a stop.
    static void read(const std::string& path, const PictureReadOptions& options,
                     DecodedPicture& out);
    // The same from the file's bytes in memory.
    static void read(const std::uint8_t* bytes, std::size_t size, const PictureReadOptions& options,
                     DecodedPicture& out);
};
