#pragma once

#include "core/Exception.h"

class EFOpenError : public Exception {
public:
    explicit EFOpenError(const std::string& fileName)
        : Exception(formatMessage("Impossible d'ouvrir le fichier %s", fileName)) {}
};
