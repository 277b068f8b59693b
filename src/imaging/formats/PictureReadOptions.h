#pragma once

#include <cstdint>
#include <stop_token>

// What a reader of PNG, WebP, TIFF or HEIF files is asked for beside the file.
struct PictureReadOptions {
    // The most pixels a picture may have: as many as a 24-bit picture holds in 1 GiB, the
    // bound every picture of the program keeps. A larger one is refused before its pixels
    // are allocated, so a small file that claims a huge picture costs nothing.
    static constexpr std::uint64_t MostPixels = (std::uint64_t{1} << 30) / 3;

    // The colour transparent pixels are laid on, as red + 256 * green + 65536 * blue: a
    // JPEG file has no transparency. White, as the picture would show on a page.
    std::uint32_t background = 0xFFFFFF;
    // Asked for, the read ends with EAbort at its next row.
    std::stop_token stop;
};
