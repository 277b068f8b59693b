#pragma once

#include "imaging/metadata/PictureMetadata.h"
#include "recompress/RecompressOptions.h"

class TJPEGImage;

// The one way the program makes a new JPEG file of decoded pixels: the load's picture at
// quality 100, each preview, each try of a search, the save, and every picture of a batch
// run. Both front doors go through it, so the same pixels, quality and options always give
// the same bytes, and a new coding choice reaches all of them at once.
class JpegEncoding {
public:
    // Readies `picture`, which holds the pixels to encode, to be written as a new file of a
    // loaded file that says `source` beside its pixels: the markers it carries and its coding.
    static void prepare(TJPEGImage& picture, const PictureMetadata& source,
                        const RecompressOptions& options);
    // Replaces the bytes of `picture` with its pixels encoded at `quality`. A cut-short
    // encode leaves no bytes.
    static void encode(TJPEGImage& picture, int quality);
};
