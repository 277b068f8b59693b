#include "recompress/JpegEncoding.h"

#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/metadata/SavedMarkers.h"

void JpegEncoding::prepare(TJPEGImage& picture, const PictureMetadata& source,
                           const RecompressOptions& options) {
    picture.setMarkers(SavedMarkers::forEncode(source, options.keepDetails, picture));
    picture.setOptimizedCoding(options.smallerFile);
    picture.setSmallestCoding(options.smallestFile);
}

void JpegEncoding::encode(TJPEGImage& picture, int quality) {
    picture.setQuality(static_cast<std::uint8_t>(quality));
    picture.Encode();
}
