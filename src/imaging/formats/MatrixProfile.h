#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A colour profile made here for a picture whose file names its colours by numbers (the
// primaries and the tone curve) instead of carrying a profile: a new JPEG file cannot carry
// those numbers, so without a profile a viewer would take wide-gamut or HDR pixels for sRGB
// and show them dull or dark.
class MatrixProfile {
public:
    // The chromaticities x, y of the red, green and blue primaries and of the white point.
    struct Primaries {
        double red[2];
        double green[2];
        double blue[2];
        double white[2];
    };
    // The tone curves a picture's colours may be coded with.
    enum class Curve {
        Srgb,
        Rec709,  // the inverse of the video cameras' curve, as colour management takes it
        Gamma22, // the old television curves
        Gamma28,
        Linear,
        Pq, // HDR: the levels above the reference white clip, as an 8-bit picture must
        Hlg,
    };

    // A display profile (version 4) of three colorants and one curve for all three channels.
    static std::vector<std::uint8_t> build(const Primaries& primaries, Curve curve,
                                           const std::string& description);
};
