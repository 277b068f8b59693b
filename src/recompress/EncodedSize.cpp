#include "recompress/EncodedSize.h"

#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/picture/AbortOnStop.h"
#include "recompress/JpegDecodeOptions.h"
#include "recompress/JpegEncoding.h"

std::optional<std::int64_t> EncodedSize::at(const TBitmap& pixels, bool progressive, int quality,
                                            std::stop_token stop, const JpegMarkers& markers,
                                            bool smallerFile, bool smallestFile) {
    TJPEGImage jpeg;
    jpeg.OnProgress = abortOnStop(stop);
    JpegDecodeOptions::forSource(jpeg); // coded in colour, as the preview is
    jpeg.CopyFrom(&pixels);
    jpeg.setProgressiveWrite(progressive);
    jpeg.setMarkers(markers);
    jpeg.setOptimizedCoding(smallerFile);
    jpeg.setSmallestCoding(smallestFile);
    JpegEncoding::encode(jpeg, quality);
    // A cut-short encode leaves no bytes, and writing would encode again.
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    TMemoryStream stream;
    jpeg.WriteToStream(stream);
    return stream.size();
}
