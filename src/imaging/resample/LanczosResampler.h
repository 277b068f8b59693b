#pragma once

#include "imaging/resample/ResizeTarget.h"

#include <stop_token>

class TBitmap;

// Lanczos-3 resampling in linear light. Each source value is taken from sRGB to linear light
// through the exact curve, filtered down the columns and then along the rows with weights
// worked out once per output row and column, and brought back to the nearest sRGB value,
// clamped to 0..255. Channels are filtered alike, so a grey picture stays exactly grey.
//
// The columns are filtered first, one source row at a time: each row is added into the few
// output rows it contributes to, and an output row that has all its source rows is filtered
// along at once. Beside the source and the output it needs only those few rows of floats
// (the most output rows one source row reaches, plus one, by the source's width) for each
// thread: no intermediate plane. For sizes in the source's proportions the other order costs
// the same arithmetic; this one keeps the longest inner loop on contiguous floats.
class LanczosResampler {
public:
    // `source` (any pixel format; other than 24 bits it is converted on a copy first) made
    // `size` into `target`, a 24-bit picture with its rows top-down. `threads`: how many to use,
    // 0 for one per processor when the picture is large enough to gain from them. A stop asked
    // for through `stop` ends the work at the next source row of each thread, throws EAbort
    // and leaves `target` as it was. An empty source or a size below 1 x 1:
    // std::invalid_argument.
    static void resize(const TBitmap& source, PixelSize size, TBitmap& target,
                       std::stop_token stop = {}, int threads = 0);

    // Below this many source pixels the work stays on the calling thread.
    static constexpr long long PixelsForThreads = 1 << 20;
};
