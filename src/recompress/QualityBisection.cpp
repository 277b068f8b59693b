#include "recompress/QualityBisection.h"

std::optional<int> QualityBisection::highestFitting(const Try& fits) {
    // Invariant: `fitting` fits (or is the "none" below 0), `tooLarge` does not (or is the
    // "above 100" that nothing reaches).
    int fitting = NothingFits;
    int tooLarge = 101;
    while (tooLarge - fitting > 1) {
        const int quality = (fitting + tooLarge) / 2;
        const std::optional<bool> answer = fits(quality);
        if (!answer) {
            return std::nullopt;
        }
        (*answer ? fitting : tooLarge) = quality;
    }
    return fitting;
}
