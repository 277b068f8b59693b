#include "recompress/EncodedSimilarity.h"

#include "core/TMemoryStream.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/similarity/SimilarityReference.h"
#include "recompress/PaneDecode.h"

std::optional<double> EncodedSimilarity::of(const SimilarityReference& loaded, TMemoryStream& bytes,
                                            std::stop_token stop) {
    TJPEGImage shown;
    bytes.setPosition(0);
    shown.ReadFromStream(bytes);
    decodeForPanes(shown);
    return loaded.score(shown.Decode(), std::move(stop));
}
