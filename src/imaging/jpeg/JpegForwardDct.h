#pragma once

// The exact 8 x 8 forward DCT of JPEG, in floating point: coefficients on the scale the
// quantisation tables divide (a flat block of level v has DC 8 v). The transform keeps
// squared errors, so a coefficient's error weighs the same in the pixels.
class JpegForwardDct {
public:
    // `samples` and `coefficients`: 64 values row by row; they may not overlap.
    static void transform(const float* samples, float* coefficients);
};
