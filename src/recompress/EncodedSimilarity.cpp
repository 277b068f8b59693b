#include "recompress/EncodedSimilarity.h"

#include "core/TMemoryStream.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/picture/AbortOnStop.h"
#include "imaging/similarity/SimilarityReference.h"
#include "recompress/JpegDecodeOptions.h"

std::optional<double> EncodedSimilarity::of(const SimilarityReference& loaded, TMemoryStream& bytes,
                                            TJPEGDecodeDepth depth, std::stop_token stop) {
    TJPEGImage shown;
    shown.OnProgress = abortOnStop(stop); // the decode ends at once, keeping the rows it had
    bytes.setPosition(0);
    shown.ReadFromStream(bytes);
    JpegDecodeOptions::decodeForPanes(shown, depth);
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    return loaded.score(shown.Decode(), std::move(stop));
}
