#pragma once

#include <cstdint>
#include <functional>
#include <optional>

// The highest quality whose new file fits a size: the window's "best quality under a size"
// and the command line's --max-size both ask it, with the encode each of them makes.
class SizeSearch {
public:
    // The length of the new file at a quality; nothing stops the search.
    using SizeAt = std::function<std::optional<std::int64_t>(int quality)>;

    // QualityBisection::NothingFits when not even quality 0 fits; nothing when stopped.
    static std::optional<int> highestQualityUnder(std::int64_t maxBytes, const SizeAt& sizeAt);
};
