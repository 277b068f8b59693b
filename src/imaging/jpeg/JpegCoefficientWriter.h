#pragma once

#include <array>
#include <cstdio>
#include <jpeglib.h>

class JpegErrorManager;
class JpegLookTables;

// Hands coefficients we chose ourselves to the library, which writes them as a progressive
// file with optimised Huffman tables: the whole picture's blocks live in the library's
// arrays until the end, as they do for the progressive coding of scanlines.
class JpegCoefficientWriter {
public:
    JpegCoefficientWriter(jpeg_compress_struct& cinfo, JpegErrorManager& errors);

    // Inside JpegErrorManager::run, on an object with its size, destination and progress
    // monitor set: sets the tables, sampling and scans, opens the arrays and writes the
    // file's header. Markers may follow.
    void begin(const JpegLookTables& tables);
    // The blocks of Y, Cb and Cr to fill, whole, after begin().
    const std::array<JBLOCKARRAY, 3>& planes() const { return planes_; }
    // Runs the progress monitor for a share of the coefficient work; throws what the
    // monitor's listener threw.
    void progress(int done, int total);
    // Writes the scans.
    void finish();

private:
    void setComponents(const JpegLookTables& tables);
    void requestArrays();

    jpeg_compress_struct& cinfo_;
    JpegErrorManager& errors_;
    std::array<jvirt_barray_ptr, 3> arrays_{};
    std::array<JDIMENSION, 3> rows_{};
    std::array<JBLOCKARRAY, 3> planes_{};
};
