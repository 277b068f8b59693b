// Reads arbitrary bytes as an EXIF block and makes every edit the program makes of one, then
// as the markers of a turned JPEG file, whose EXIF block and XMP packets are settled.
#include "imaging/metadata/ExifBlock.h"
#include "imaging/metadata/TurnedMarkers.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ExifBlock block(std::vector<std::uint8_t>(data, data + size));
    const int orientation = block.orientation();
    if (orientation < 1 || orientation > 8) {
        std::abort();
    }
    block.setOrientation(1);
    block.setPixelSize(640, 480);
    block.dropThumbnail();
    if (block.tiff().size() > size) {
        std::abort(); // dropping never adds
    }
    // The same bytes as the segments of a file, behind its start marker.
    std::vector<std::uint8_t> jpeg{0xFF, 0xD8};
    jpeg.insert(jpeg.end(), data, data + size);
    TurnedMarkers::settle(jpeg.data(), jpeg.size(), 480, 640);
    return 0;
}
