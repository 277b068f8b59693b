#pragma once

#include <cstdint>
#include <vector>

// Checks on an embedded colour profile before it is carried into a new file.
class IccProfile {
public:
    // A device or colour-space profile, sound in its header, for the colours of a file that
    // holds gray (`gray`) or red, green and blue pixels.
    static bool suits(const std::vector<std::uint8_t>& profile, bool gray);
};
