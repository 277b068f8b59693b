#pragma once

#include "support/JpegTestPictures.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Real photographs for the tests that need what a camera sees: the sample pictures that
// Debian's scikit-image package ships (python3-skimage, installed for the similarity
// reference), read through ImageMagick's converter.
namespace Photographs {

// The names of the photographs, portraits, landscapes and textures of a few hundred
// pixels a side; "camera" and "moon" are gray.
const std::vector<std::string>& names();
// The photograph's pixels; nothing when the package or the converter is missing.
std::optional<RgbPicture> load(const std::string& name);

} // namespace Photographs
