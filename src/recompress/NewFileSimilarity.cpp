#include "recompress/NewFileSimilarity.h"

#include "core/TMemoryStream.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/similarity/LumaRows.h"
#include "imaging/similarity/StructuralSimilarity.h"
#include "recompress/PaneDecode.h"

std::optional<double> NewFileSimilarity::of(const TBitmap& loaded, TMemoryStream& bytes,
                                            std::stop_token stop) {
    TMemoryStream readable;
    readable.write(bytes.memory(), static_cast<std::size_t>(bytes.size()));
    readable.setPosition(0);
    TJPEGImage shown;
    shown.ReadFromStream(readable);
    decodeForPanes(shown);
    LumaRows loadedRows(loaded);
    LumaRows shownRows(shown.Decode());
    return StructuralSimilarity::mean(loadedRows, shownRows, std::move(stop));
}
