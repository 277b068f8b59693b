#pragma once

#include <QString>

class Exception;

// Why a picture of a batch run failed, in plain English with the system's or the library's
// own words where there are some. The window's error boxes keep their own texts; the
// command line is a Unix tool and speaks as one.
class BatchFailure {
public:
    // While reading and recompressing the picture.
    static QString reading(const Exception& error);
    // While writing its new file at `output`.
    static QString writing(const Exception& error, const QString& output);
    // `reason` told again with what the file `input` looks like, when the reason is that it is
    // not a JPEG file: the library saw two bytes of it, which say little to a reader, and its
    // first bytes usually say what it is. Any other reason is kept as it is.
    static QString withFileKind(const QString& reason, const QString& input);
};
