#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// How the colour differences of a HEIF file's pictures are coded, read from the codecs'
// configuration boxes in the file's metadata, since the library hands out only converted
// planes unless asked for a layout.
class HeifCodedChroma {
public:
    enum class Layout { Half, HalfWidth, Full, None };
    // The layout every configuration in the file's `meta` box gives; nothing when they
    // differ, when there is none, or when the boxes cannot be read.
    static std::optional<Layout> of(const std::uint8_t* bytes, std::size_t size);
};
