#pragma once

#include "core/Exception.h"

class EFOpenError : public Exception {
public:
    // `error`: the errno value of the failed opening, 0 when there is none.
    explicit EFOpenError(const std::string& fileName, int error = 0)
        : Exception(formatMessage("Impossible d'ouvrir le fichier %s", fileName)) {
        setSystemReason(error);
    }
};
