#pragma once

#include "imaging/jpeg/TJPEGOptions.h"

#include <optional>
#include <stop_token>

class SimilarityReference;
class TMemoryStream;

// How like the loaded picture a new file looks: its bytes decoded as the panes decode them,
// scored against the loaded picture's reference. The score the size readout's tooltip
// shows, and the one a search for the lowest quality reaching a similarity aims at.
class EncodedSimilarity {
public:
    // Nothing when `stop` is requested before the end. Raises what decoding the bytes
    // raises, and std::invalid_argument for a picture of another size than the reference.
    // All the stream's bytes are read, whatever its position.
    // The bytes are decoded at `depth`, as the door's panes decode them.
    static std::optional<double> of(const SimilarityReference& loaded, TMemoryStream& bytes,
                                    TJPEGDecodeDepth depth, std::stop_token stop = {});
};
