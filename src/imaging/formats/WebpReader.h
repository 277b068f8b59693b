#pragma once

#include "imaging/formats/DecodedPicture.h"
#include "imaging/formats/PictureReadOptions.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Reads a WebP file, lossy or lossless, its transparency laid on the background. Of an
// animation only the first frame is read, laid on the canvas as a viewer shows it before
// playing, and the note says so. The colour profile, EXIF block and XMP packet are kept; the
// way up is the EXIF block's, the pixels being as the file stores them.
class WebpReader {
public:
    // Raises EPictureFile (message "not a valid WebP file", the reason, or the pixel bound),
    // EFOpenError when the file cannot be opened, EAbort on a stop.
    static void read(const std::string& path, const PictureReadOptions& options,
                     DecodedPicture& out);
    // The same from a whole file in memory.
    static void read(const std::uint8_t* bytes, std::size_t size, const PictureReadOptions& options,
                     DecodedPicture& out);
};
