#pragma once

#include "imaging/jpeg/JpegMarkers.h"
#include "imaging/metadata/PictureMetadata.h"

#include <cstdint>

class TJPEGImage;

// What a new file made from a loaded picture carries of the loaded file's metadata: its
// colour profile when it suits the new file's colours, its way up when that is not upright,
// and, when the photo's details are asked for, its EXIF block and XMP packets too.
class SavedMarkers {
public:
    struct Choice {
        bool details = false; // the EXIF block and the XMP packets as well
        bool gray = false;    // the new file holds gray pixels
        std::uint32_t width = 0;
        std::uint32_t height = 0;
    };

    static JpegMarkers choose(const PictureMetadata& source, const Choice& choice);
    // For the next encode of `encoder`: its colours, and the size of its picture (decoded
    // first when it is not yet).
    static JpegMarkers forEncode(const PictureMetadata& source, bool details, TJPEGImage& encoder);
};
