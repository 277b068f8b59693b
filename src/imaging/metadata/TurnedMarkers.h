#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The markers of a JPEG file just turned without loss, which kept every marker of the file it
// was made from, brought in line with its new pixels: an EXIF orientation of 1 (in XMP too),
// EXIF pixel sizes of the turned picture, no thumbnail of the old way up, no index of pictures
// that followed the old file's end (the turn keeps only the picture). An EXIF block too
// unsound to edit is left out; every other byte is kept as it is.
class TurnedMarkers {
public:
    static std::vector<std::uint8_t> settle(const std::uint8_t* jpeg, std::size_t size,
                                            std::uint32_t width, std::uint32_t height);
};
