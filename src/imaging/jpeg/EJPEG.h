#pragma once

#include "core/Exception.h"

// A fatal error of the JPEG library, named by the library's own message code.
class EJPEG : public Exception {
public:
    explicit EJPEG(int code)
        : Exception(formatMessage("Erreur JPEG #%d", std::to_string(code))), code_(code) {}

    int code() const { return code_; }

private:
    int code_;
};
