#pragma once

#include "imaging/bmp/TBitmap.h"
#include "imaging/metadata/PictureMetadata.h"

#include <string>

// What a reader of PNG, WebP, TIFF or HEIF files gives: the picture as 24-bit pixels, upright
// and without transparency, ready to encode as a JPEG file, and what the file says beside
// them that a new file may keep.
struct DecodedPicture {
    // 24 bits a pixel, top row first as the picture is seen.
    TBitmap pixels;
    // The colour profile, EXIF block, XMP packets and way up. A reader that turns the pixels
    // upright itself (HEIF) gives the way up as 1, so no viewer turns them again.
    PictureMetadata metadata;
    // Something the command line's line for the file should say, such as that only the
    // first frame of an animation was read; empty otherwise.
    std::string note;
};
