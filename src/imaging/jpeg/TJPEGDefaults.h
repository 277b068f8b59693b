#pragma once

#include "imaging/jpeg/TJPEGOptions.h"

#include <cstdint>

// The options every new JPEG picture starts with, one record for the whole program.
struct TJPEGDefaults {
    std::uint8_t Quality = 90;
    bool GrayMode = false;
    TJPEGDecodeSpeed DecodeSpeed = TJPEGDecodeSpeed::Accurate;
    TJPEGDecodeDepth DecodeDepth = TJPEGDecodeDepth::Depth24;
    bool ProgressiveRead = false;
    bool ProgressiveWrite = false;
    TJPEGDecodeScale DecodeScale = TJPEGDecodeScale::Full;
    bool BlockSmoothing = true;

    static TJPEGDefaults& current();
    // Palette displays (8 bits per pixel or fewer) decode to 8 bits by default.
    static void takeDecodeDepthFromScreen(int screenBitsPerPixel);
};
