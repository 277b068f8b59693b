#pragma once

#include "core/Exception.h"

// An operation that the picture cannot carry out in its present state.
class EInvalidGraphicOperation : public Exception {
public:
    explicit EInvalidGraphicOperation(std::string message) : Exception(std::move(message)) {}
};
