#pragma once

#include "imaging/resample/ResizeTarget.h"
#include "support/JpegTestPictures.h"

#include <filesystem>

// Photographs for the resampling tests: the ones Debian's python3-skimage ships (PNG and JPEG
// files of a few hundred pixels a side); empty when it is not installed.
std::filesystem::path photographFolder();

// `file`'s pixels, made `size` by ImageMagick's Lanczos in linear light
// (convert -colorspace RGB -filter Lanczos -resize WxH! -colorspace sRGB), or as they are when
// `size` is 0 x 0.
RgbPicture referenceResize(const std::filesystem::path& file, PixelSize size,
                           const std::filesystem::path& work);

// Peak signal-to-noise ratio over the three channels, in dB; infinity for equal pictures.
double psnr(const RgbPicture& first, const RgbPicture& second);
