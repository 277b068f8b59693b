#include "imaging/metadata/SavedMarkers.h"

#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/metadata/ExifBlock.h"
#include "imaging/metadata/IccProfile.h"

#include <algorithm>
#include <cstdio>
#include <jpeglib.h>

namespace {

JpegMarkers::Segment exifSegment(const std::vector<std::uint8_t>& tiff) {
    constexpr std::uint8_t header[] = {'E', 'x', 'i', 'f', 0, 0};
    std::vector<std::uint8_t> data(sizeof header + tiff.size());
    std::copy(std::begin(header), std::end(header), data.begin());
    std::copy(tiff.begin(), tiff.end(), data.begin() + sizeof header);
    return {JPEG_APP0 + 1, std::move(data)};
}

} // namespace

JpegMarkers SavedMarkers::choose(const PictureMetadata& source, const Choice& choice) {
    JpegMarkers markers;
    ExifBlock exif(source.exif);
    if (choice.details && exif.readable()) {
        // The new file has pixels of its own size and no picture of the old one inside.
        exif.setPixelSize(choice.width, choice.height);
        exif.dropThumbnail();
        markers.segments.push_back(exifSegment(exif.tiff()));
        markers.jfifHeader = false;
    } else if (source.orientation != 1) {
        markers.segments.push_back(exifSegment(ExifBlock::orientationAlone(source.orientation)));
    }
    if (choice.details) {
        for (const std::vector<std::uint8_t>& packet : source.xmp) {
            markers.segments.push_back({JPEG_APP0 + 1, packet});
        }
    }
    if (IccProfile::suits(source.iccProfile, choice.gray)) {
        markers.iccProfile = source.iccProfile;
    }
    return markers;
}

JpegMarkers SavedMarkers::forEncode(const PictureMetadata& source, bool details,
                                    TJPEGImage& encoder) {
    const TBitmap& pixels = encoder.Decode();
    return choose(source, {details, encoder.GrayMode(), static_cast<std::uint32_t>(pixels.width()),
                           static_cast<std::uint32_t>(pixels.height())});
}
