#pragma once

#include <optional>
#include <stop_token>

class TBitmap;
class TMemoryStream;

// How close a new file looks to the loaded picture: its bytes decoded as the window's panes
// decode them, scored against the pixels the encode took (the structural similarity of
// their brightness, the score the size readout's tooltip shows).
class NewFileSimilarity {
public:
    // Nothing when `stop` is requested before the end.
    static std::optional<double> of(const TBitmap& loaded, TMemoryStream& bytes,
                                    std::stop_token stop = {});
};
