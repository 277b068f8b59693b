#pragma once

#include <cstdint>
#include <vector>

// What a loaded file says about its picture beside the pixels: the colour profile, the EXIF
// block (its TIFF bytes), the XMP packets and the way up. Nothing of it changes the pixels
// the program shows; the saving decides what goes into the new file.
struct PictureMetadata {
    std::vector<std::uint8_t> iccProfile;       // whole, its chunks joined in order
    std::vector<std::uint8_t> exif;             // the bytes after "Exif\0\0"
    std::vector<std::vector<std::uint8_t>> xmp; // each APP1 payload with its namespace
    int orientation = 1; // from the EXIF block, also when the rest is unsound
};
