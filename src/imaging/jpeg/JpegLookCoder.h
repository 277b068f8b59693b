#pragma once

#include "imaging/jpeg/JpegLookTables.h"
#include "imaging/jpeg/JpegRateModel.h"

#include <array>
#include <cstdio>
#include <functional>
#include <jpeglib.h>

class JpegColourBand;
class TBitmap;

// Works out the quantised coefficients of the smallest coding of a 24-bit picture, band of
// MCUs by band, on two threads: a first pass over a sample of the bands learns what each
// symbol costs, the second chooses every block's coefficients against those costs.
class JpegLookCoder {
public:
    // Told the work done and the whole between bands, from the calling thread; it may throw
    // to stop, and the coder then stops its other thread before the exception goes on.
    using Progress = std::function<void(int done, int total)>;

    JpegLookCoder(const TBitmap& rgb, const JpegLookTables& tables);

    // Fills the blocks of Y, Cb and Cr: rows of blocks as many as the picture needs, rounded
    // up to whole MCUs.
    void code(const std::array<JBLOCKARRAY, 3>& planes, const Progress& progress);

    // Bands the first pass samples: one in this many.
    static constexpr int LearningStride = 16;

private:
    using PerBand = std::function<void(JpegColourBand& band, int index, int worker)>;

    void learnRates(const Progress& progress);
    void countBand(const JpegColourBand& band, std::array<JpegRateModel, 2>& seen) const;
    void quantise(const std::array<JBLOCKARRAY, 3>& planes, const Progress& progress);
    void quantiseBand(const JpegColourBand& band, int index,
                      const std::array<JBLOCKARRAY, 3>& planes) const;
    void shareBands(int count, const PerBand& perBand, const Progress& progress, int before);
    int bandCount() const;
    float lambda() const;
    int learningBands() const { return (bandCount() + LearningStride - 1) / LearningStride; }

    const TBitmap& rgb_;
    const JpegLookTables& tables_;
    int width_;
    int height_;
    std::array<JpegRateModel, 2> rates_; // luma, chroma
};
