#pragma once

#include <vector>

class TBitmap;

// One row of MCUs of a 24-bit picture as level-shifted Y, Cb and Cr samples, the chroma
// halved both ways when subsampled. Only a band is held at a time, so the smallest coding
// keeps no converted copy of the whole picture. Past the picture's right and bottom edges
// the last column and row repeat, which costs the fewest bits in the edge blocks.
class JpegColourBand {
public:
    JpegColourBand(int pictureWidth, int pictureHeight, bool subsampledChroma);

    // Luma rows in a band: 16 with halved chroma, else 8.
    int height() const { return bandHeight_; }
    int bandCount() const { return (pictureHeight_ + bandHeight_ - 1) / bandHeight_; }
    void fill(const TBitmap& rgb, int band);

    // Blocks of `component` (0 luma, 1 Cb, 2 Cr) across and down the band.
    int blocksAcross(int component) const;
    int blocksDown(int component) const;
    // The 64 samples of a block, row by row, centred on zero.
    void block(int component, int column, int row, float* samples) const;

private:
    void convertRow(const unsigned char* bgr, int row);
    void halveChroma();
    const std::vector<float>& plane(int component) const;

    int pictureWidth_;
    int pictureHeight_;
    bool subsampled_;
    int bandHeight_;
    int paddedWidth_; // a whole number of MCUs
    std::vector<float> luma_;
    std::vector<float> blue_; // full resolution; halved into `halfBlue_` when subsampled
    std::vector<float> red_;
    std::vector<float> halfBlue_;
    std::vector<float> halfRed_;
};
