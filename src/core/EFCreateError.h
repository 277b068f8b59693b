#pragma once

#include "core/Exception.h"

class EFCreateError : public Exception {
public:
    // `error`: the errno value of the failed creation, 0 when there is none.
    explicit EFCreateError(const std::string& fileName, int error = 0)
        : Exception(formatMessage("Impossible de créer le fichier %s", fileName)) {
        setSystemReason(error);
    }
};
