#include "imaging/metadata/TurnedMarkers.h"

#include "imaging/metadata/ExifBlock.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace {

constexpr std::uint8_t App1 = 0xE1;
constexpr std::uint8_t App2 = 0xE2;
constexpr std::uint8_t StartOfScan = 0xDA;
constexpr std::string_view ExifHeader{"Exif\0\0", 6};
constexpr std::string_view XmpOrientation{"tiff:Orientation"};
constexpr std::string_view PictureIndexHeader{"MPF\0", 4};

bool startsWith(const std::vector<std::uint8_t>& data, std::string_view header) {
    return data.size() >= header.size() && std::equal(header.begin(), header.end(), data.begin());
}

// Both ways XMP writes the orientation, as an attribute ="6" and as an element >6<, become 1;
// one digit for another, so the packet keeps its length and padding.
void uprightXmp(std::vector<std::uint8_t>& packet) {
    const auto begin = packet.begin();
    for (auto at = std::search(begin, packet.end(), XmpOrientation.begin(), XmpOrientation.end());
         at != packet.end();
         at = std::search(at + 1, packet.end(), XmpOrientation.begin(), XmpOrientation.end())) {
        auto value = at + static_cast<std::ptrdiff_t>(XmpOrientation.size());
        if (value != packet.end() && *value == '=') {
            ++value;
        }
        if (value != packet.end() && (*value == '"' || *value == '\'' || *value == '>')) {
            ++value;
        }
        if (packet.end() - value >= 2 && *value >= '2' && *value <= '8' &&
            (value[1] == '"' || value[1] == '\'' || value[1] == '<')) {
            *value = '1';
        }
    }
}

// An edited segment; nothing when it is better left out.
std::optional<std::vector<std::uint8_t>> settledApp1(std::vector<std::uint8_t> data,
                                                     std::uint32_t width, std::uint32_t height) {
    if (!startsWith(data, ExifHeader)) {
        uprightXmp(data);
        return data;
    }
    ExifBlock exif({data.begin() + ExifHeader.size(), data.end()});
    if (!exif.readable()) {
        return std::nullopt;
    }
    exif.setOrientation(1);
    exif.setPixelSize(width, height);
    exif.dropThumbnail();
    data.resize(ExifHeader.size());
    data.insert(data.end(), exif.tiff().begin(), exif.tiff().end());
    return data;
}

void appendSegment(std::vector<std::uint8_t>& out, std::uint8_t code,
                   const std::vector<std::uint8_t>& data) {
    const std::size_t length = data.size() + 2;
    out.insert(out.end(), {0xFF, code, static_cast<std::uint8_t>(length >> 8),
                           static_cast<std::uint8_t>(length)});
    out.insert(out.end(), data.begin(), data.end());
}

void keepSettled(std::vector<std::uint8_t>& out, std::uint8_t code, std::vector<std::uint8_t> data,
                 std::uint32_t width, std::uint32_t height) {
    if (code == App1) {
        if (auto settled = settledApp1(std::move(data), width, height)) {
            appendSegment(out, code, *settled);
        }
        return;
    }
    // The index of the pictures that followed the old file's end would point at nothing: the
    // turn keeps only the picture.
    if (code != App2 || !startsWith(data, PictureIndexHeader)) {
        appendSegment(out, code, data);
    }
}

} // namespace

std::vector<std::uint8_t> TurnedMarkers::settle(const std::uint8_t* jpeg, std::size_t size,
                                                std::uint32_t width, std::uint32_t height) {
    const std::vector<std::uint8_t> whole(jpeg, jpeg + size);
    if (size < 2 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) {
        return whole;
    }
    std::vector<std::uint8_t> out(jpeg, jpeg + 2);
    std::size_t at = 2;
    // Segments up to the first scan; what follows is picture data, copied as it is.
    while (at + 4 <= size && jpeg[at] == 0xFF && jpeg[at + 1] != StartOfScan) {
        const std::uint8_t code = jpeg[at + 1];
        const std::size_t length = (std::size_t{jpeg[at + 2]} << 8) | jpeg[at + 3];
        if (length < 2 || length > size - at - 2) {
            return whole; // not a file this tool wrote: left alone
        }
        std::vector<std::uint8_t> data(jpeg + at + 4, jpeg + at + 2 + length);
        keepSettled(out, code, std::move(data), width, height);
        at += 2 + length;
    }
    out.insert(out.end(), jpeg + at, jpeg + size);
    return out;
}
