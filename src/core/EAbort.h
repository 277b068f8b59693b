#pragma once

#include "core/Exception.h"

// The silent cancellation: whoever catches it shows nothing.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};
