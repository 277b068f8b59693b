#include "recompress/SimilarityTrial.h"

#include "core/EAbort.h"
#include "recompress/EncodedSimilarity.h"
#include "recompress/JpegEncoding.h"

SimilarityTrial::SimilarityTrial(const TBitmap& pixels, std::stop_token stop)
    : reference_(pixels, std::move(stop)) {
    encoder_.CopyFrom(&pixels);
}

std::optional<double> SimilarityTrial::at(int quality, std::stop_token stop) {
    encoder_.OnProgress = [&stop](TGraphic&, TProgressStage, std::uint8_t, bool, const TRect&,
                                  const std::string&) {
        if (stop.stop_requested()) {
            throw EAbort();
        }
    };
    JpegEncoding::encode(encoder_, quality);
    if (stop.stop_requested()) {
        return std::nullopt; // a cut-short encode leaves no bytes
    }
    bytes_.clear();
    encoder_.WriteToStream(bytes_);
    return EncodedSimilarity::of(reference_, bytes_, stop);
}
