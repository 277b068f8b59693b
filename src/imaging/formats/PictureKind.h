#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The kinds of picture files the command line reads, told by their first bytes alone, so a
// PNG named ".jpg" is still read as a PNG.
enum class PictureKind { Unknown, Jpeg, Bmp, Png, WebP, Tiff, Heif };

class PictureSignature {
public:
    // The first bytes needed to tell every kind apart.
    static constexpr std::size_t Length = 16;

    // What `count` first bytes of a file (fewer at its end) say it is.
    static PictureKind of(const std::uint8_t* bytes, std::size_t count);
    // The kind of the file at `path`; Unknown when it cannot be read.
    static PictureKind ofFile(const std::string& path);
};
