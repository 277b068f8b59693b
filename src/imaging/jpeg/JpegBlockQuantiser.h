#pragma once

#include "imaging/jpeg/JpegLookTables.h"

#include <cstdint>

class JpegRateModel;

// Chooses the quantised coefficients of one block. Rounding each coefficient to the nearest
// step is seldom the cheapest choice: a lone small coefficient far down the zigzag costs a
// long run symbol for little picture, and a value one step nearer zero often costs a bit
// less. The choice weighs, over the whole block at once, the squared error (in steps, so
// the table's view of what the eye sees carries over) against the bits the entropy coder
// will spend, `lambda` bits per unit of error, and more of them in blocks whose texture
// hides the error.
class JpegBlockQuantiser {
public:
    JpegBlockQuantiser(const JpegLookTables::Table& table, const JpegRateModel& rates,
                       float lambda);

    // Nearest steps: the first pass, which learns the symbols' costs.
    void round(const float* coefficients, std::int16_t* block) const;
    // The cheapest coefficients for the cost of an error in this block, `masking` times the
    // usual (see masking()). Both: DCT coefficients in, quantised block out, natural order.
    void choose(const float* coefficients, float masking, std::int16_t* block) const;

    // How well a block hides errors, from its 64 samples: from the quietest of its four
    // quadrants, so an edge beside a flat area counts as flat (ringing shows there) and only
    // texture all over the block counts as busy. 1 for an average block, less when flat.
    static float masking(const float* samples);

private:
    struct Search;

    void keep(Search& search, int k, float lambda) const;
    int lastKept(const Search& search, float lambda) const;

    float dcStep_;
    float inverseSteps_[64]; // zigzag order
    const JpegRateModel& rates_;
    float lambda_;
};
