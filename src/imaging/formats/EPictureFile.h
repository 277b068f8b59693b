#pragma once

#include "core/Exception.h"

// A PNG, WebP, TIFF or HEIF file that cannot be read: the message names the kind ("not a
// valid PNG file") and the reason gives the library's own words, or the bound a picture
// broke, for the command line's one line.
class EPictureFile : public Exception {
public:
    EPictureFile(std::string message, std::string reason) : Exception(std::move(message)) {
        setReason(std::move(reason));
    }
};
