#include "recompress/EncodedSimilarity.h"

#include "core/EAbort.h"
#include "core/TMemoryStream.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/similarity/SimilarityReference.h"
#include "recompress/PaneDecode.h"

std::optional<double> EncodedSimilarity::of(const SimilarityReference& loaded, TMemoryStream& bytes,
                                            std::stop_token stop) {
    TJPEGImage shown;
    shown.OnProgress = [&stop](TGraphic&, TProgressStage, std::uint8_t, bool, const TRect&,
                               const std::string&) {
        if (stop.stop_requested()) {
            throw EAbort(); // the decode ends at once, keeping the rows it had
        }
    };
    bytes.setPosition(0);
    shown.ReadFromStream(bytes);
    decodeForPanes(shown);
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    return loaded.score(shown.Decode(), std::move(stop));
}
