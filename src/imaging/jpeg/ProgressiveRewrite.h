#pragma once

class TMemoryStream;
struct JpegMarkers;

// Progressive scans with optimised tables, made from the coefficients of a sequential file
// rather than from pixels: the same bytes a progressive encode of the pixels writes, without
// the pixels. The coding of the smaller files, for whoever can let the pixels go first.
class ProgressiveRewrite {
public:
    // `sequential` is a file of the program's own encoder, read from its start; `markers`
    // are the ones it was written with, written again after the header. Raises EJPEG when
    // the library fails.
    static void of(TMemoryStream& sequential, const JpegMarkers& markers, TMemoryStream& out);
};
