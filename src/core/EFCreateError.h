#pragma once

#include "core/Exception.h"

class EFCreateError : public Exception {
public:
    explicit EFCreateError(const std::string& fileName)
        : Exception(formatMessage("Impossible de créer le fichier %s", fileName)) {}
};
