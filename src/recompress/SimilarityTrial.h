#pragma once

#include "core/TMemoryStream.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/similarity/SimilarityReference.h"

#include <optional>
#include <stop_token>

class TBitmap;

// The tries of a search for the lowest quality reaching a similarity, the same for the
// window and the command line: the pixels a new file's encodes take, encoded at a quality,
// decoded as the panes decode the preview and scored against those pixels, which the
// trial shares rather than copies. A try codes its file the quickest way, since the coding
// changes no pixel; only the smallest coding, which chooses its own coefficients, is tried
// as it will be written.
class SimilarityTrial {
public:
    // The pixels must outlive the trial and stay unchanged. A stop asked through `stop`
    // while the pixels' half of the score is worked out raises EAbort.
    // Each try is decoded at `depth`, as the door's panes decode a new file.
    SimilarityTrial(const TBitmap& pixels, TJPEGDecodeDepth depth, std::stop_token stop = {},
                    bool smallestCoding = false);

    // The similarity of the new file at `quality`; nothing when `stop` is requested first.
    std::optional<double> at(int quality, std::stop_token stop = {});

private:
    SimilarityReference reference_;
    TJPEGDecodeDepth depth_;
    TJPEGImage encoder_;
    TMemoryStream bytes_;
};
