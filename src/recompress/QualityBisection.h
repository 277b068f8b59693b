#pragma once

#include <functional>
#include <optional>

// Finds the highest JPEG quality, 0 to 100, whose file fits, by halving the range of
// qualities still in question: 102 outcomes (each quality, or none) take at most 7 tries.
// It relies on the file growing with the quality, which holds for the encoder's tables
// apart from a few bytes here and there.
class QualityBisection {
public:
    static constexpr int MostTries = 7;
    static constexpr int NothingFits = -1;

    // `fits(quality)` tries one quality; nothing from it stops the search, which then
    // gives nothing too. Returns NothingFits when not even quality 0 fits.
    using Try = std::function<std::optional<bool>(int quality)>;
    static std::optional<int> highestFitting(const Try& fits);
};
