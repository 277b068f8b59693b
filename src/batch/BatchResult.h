#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// What became of one picture of a batch run.
struct BatchResult {
    enum class Outcome {
        Written,     // the new file is on disk
        NotSmaller,  // --only-smaller: nothing written, the new file would not be smaller
        Planned,     // --dry-run: what would be written
        Failed,      // nothing written, for `error`
        Interrupted, // stopped by a signal before the end: nothing written
    };

    Outcome outcome = Outcome::Failed;
    std::int64_t bytesBefore = 0;
    std::int64_t bytesAfter = 0;
    int quality = -1; // the quality chosen; -1 when none was
    std::optional<double> similarity;
    int encodes = 0; // the encodes it took: one for a quality, a few for a search
    int width = 0;   // the new file's pixel size; 0 when none was made
    int height = 0;
    bool shrunk = false;     // to the longest side asked for
    bool withinSide = false; // a longest side was asked for, and the picture was within it
    QString error;
    QString note; // what the picture's reader said of it, such as an animation's first frame
};
