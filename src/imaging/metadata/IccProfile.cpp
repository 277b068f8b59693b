#include "imaging/metadata/IccProfile.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::size_t HeaderLength = 128;
// A JPEG file numbers the chunks of a profile in one byte.
constexpr std::size_t LongestCarried = 255 * (65533 - 14);

std::string_view field(const std::vector<std::uint8_t>& profile, std::size_t offset) {
    return {reinterpret_cast<const char*>(profile.data()) + offset, 4};
}

} // namespace

bool IccProfile::suits(const std::vector<std::uint8_t>& profile, bool gray) {
    // The header and at least the tag count, in no more chunks than a file can number.
    if (profile.size() < HeaderLength + 4 || profile.size() > LongestCarried) {
        return false;
    }
    const std::uint64_t declared =
        (std::uint64_t{profile[0]} << 24) | (profile[1] << 16) | (profile[2] << 8) | profile[3];
    if (declared < HeaderLength + 4 || declared > profile.size() || field(profile, 36) != "acsp") {
        return false;
    }
    // Links and abstract profiles describe no file's colours.
    constexpr std::string_view classes[] = {"scnr", "mntr", "prtr", "spac"};
    if (std::find(std::begin(classes), std::end(classes), field(profile, 12)) ==
        std::end(classes)) {
        return false;
    }
    return field(profile, 16) == (gray ? "GRAY" : "RGB ");
}
