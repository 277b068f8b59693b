#pragma once

#include "imaging/jpeg/TJPEGOptions.h"

class TJPEGImage;

// The two ways the program decodes a JPEG picture, set explicitly on each picture rather
// than taken from the process-wide defaults, so the window and the command line decode alike.
namespace JpegDecodeOptions {

// A loaded file, as every new file is made of it: full size, 24 bits, accurate.
void forSource(TJPEGImage& jpeg);
// A new file as the panes show it, at the depth the door chose for its screen; the
// similarity of a new file is measured on these pixels. Decodes it, so copies made
// afterwards share the decoded pixels instead of decoding the same bytes again.
void decodeForPanes(TJPEGImage& jpeg, TJPEGDecodeDepth depth);

} // namespace JpegDecodeOptions
