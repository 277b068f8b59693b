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
};
