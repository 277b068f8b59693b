#pragma once

#include "core/Exception.h"

// A fatal error of the JPEG library, named by the library's own message code; its own
// English words about it are the reason.
class EJPEG : public Exception {
public:
    explicit EJPEG(int code, std::string libraryText = {})
        : Exception(formatMessage("Erreur JPEG #%d", std::to_string(code))), code_(code) {
        setReason(std::move(libraryText));
    }

    int code() const { return code_; }

private:
    int code_;
};
