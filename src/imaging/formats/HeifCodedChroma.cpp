#include "imaging/formats/HeifCodedChroma.h"

#include <algorithm>
#include <cstring>

namespace {

using Layout = HeifCodedChroma::Layout;

std::uint64_t bigEndian(const std::uint8_t* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

// The top-level `meta` box's contents: a file's boxes are laid one after another.
std::optional<std::pair<std::size_t, std::size_t>> metaBox(const std::uint8_t* bytes,
                                                           std::size_t size) {
    std::size_t at = 0;
    while (size - at >= 8) {
        std::uint64_t length = bigEndian(bytes + at, 4);
        std::size_t header = 8;
        if (length == 1 && size - at >= 16) {
            length = bigEndian(bytes + at + 8, 8);
            header = 16;
        } else if (length == 0) {
            length = size - at;
        }
        if (length < header || length > size - at) {
            return std::nullopt;
        }
        if (std::memcmp(bytes + at + 4, "meta", 4) == 0) {
            return std::pair(at + header, static_cast<std::size_t>(at + length));
        }
        at += static_cast<std::size_t>(length);
    }
    return std::nullopt;
}

// HEVC's chroma_format_idc, the 17th byte of its configuration record.
std::optional<Layout> hevcLayout(const std::uint8_t* record, std::size_t left) {
    if (left < 17) {
        return std::nullopt;
    }
    constexpr Layout ByIdc[] = {Layout::None, Layout::Half, Layout::HalfWidth, Layout::Full};
    return ByIdc[record[16] & 3];
}

// AV1's monochrome and subsampling flags, in the third byte of its configuration record.
std::optional<Layout> av1Layout(const std::uint8_t* record, std::size_t left) {
    if (left < 3) {
        return std::nullopt;
    }
    if (record[2] & 0x10) {
        return Layout::None;
    }
    const bool halfWidth = record[2] & 0x08;
    const bool halfHeight = record[2] & 0x04;
    if (halfWidth && halfHeight) {
        return Layout::Half;
    }
    return halfWidth ? Layout::HalfWidth : halfHeight ? std::nullopt : std::optional(Layout::Full);
}

} // namespace

std::optional<Layout> HeifCodedChroma::of(const std::uint8_t* bytes, std::size_t size) {
    const auto meta = metaBox(bytes, size);
    if (!meta) {
        return std::nullopt;
    }
    std::optional<Layout> found;
    for (std::size_t at = meta->first + 4; at + 4 <= meta->second; ++at) {
        const std::uint8_t* type = bytes + at;
        const std::size_t left = meta->second - at - 4;
        std::optional<Layout> layout;
        if (std::memcmp(type, "hvcC", 4) == 0) {
            layout = hevcLayout(type + 4, left);
        } else if (std::memcmp(type, "av1C", 4) == 0) {
            layout = av1Layout(type + 4, left);
        } else {
            continue;
        }
        if (!layout || (found && *found != *layout)) {
            return std::nullopt;
        }
        found = layout;
    }
    return found;
}
