#pragma once

#include "core/Exception.h"

// A picture that cannot be, or a pixel format that cannot be asked for.
class EInvalidGraphic : public Exception {
public:
    EInvalidGraphic() : Exception("Image bitmap incorrecte") {}
    explicit EInvalidGraphic(std::string message) : Exception(std::move(message)) {}
};
