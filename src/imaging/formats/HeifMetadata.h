#pragma once

#include "imaging/metadata/PictureMetadata.h"

struct heif_image_handle;

// What a HEIF file says beside the pixels of its primary picture, made ready for a JPEG file
// of the pixels as the reader gives them: upright, 8-bit red, green and blue.
class HeifMetadata {
public:
    // The colour profile (the file's own, or one made from its colour numbers), the first
    // EXIF block with its way up set to 1 (the pixels are turned already), every XMP packet
    // with the namespace a JPEG file's APP1 segment gives it. Never fails: whatever is
    // unsound is left out.
    static PictureMetadata of(const heif_image_handle& handle);
};
