#include "recompress/SimilarityTrial.h"

#include "imaging/picture/AbortOnStop.h"
#include "recompress/EncodedSimilarity.h"
#include "recompress/JpegDecodeOptions.h"
#include "recompress/JpegEncoding.h"

SimilarityTrial::SimilarityTrial(const TBitmap& pixels, TJPEGDecodeDepth depth,
                                 std::stop_token stop, bool smallestCoding)
    : reference_(pixels, std::move(stop)), depth_(depth) {
    JpegDecodeOptions::forSource(encoder_); // coded in colour, as the preview is
    encoder_.CopyFrom(&pixels);
    encoder_.setSmallestCoding(smallestCoding);
}

std::optional<double> SimilarityTrial::at(int quality, std::stop_token stop) {
    encoder_.OnProgress = abortOnStop(stop);
    JpegEncoding::encode(encoder_, quality);
    if (stop.stop_requested()) {
        return std::nullopt; // a cut-short encode leaves no bytes
    }
    bytes_.clear();
    encoder_.WriteToStream(bytes_);
    return EncodedSimilarity::of(reference_, bytes_, depth_, stop);
}
