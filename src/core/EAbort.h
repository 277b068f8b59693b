#pragma once

#include "core/Exception.h"

#include <stop_token>

// The silent cancellation: whoever catches it shows nothing.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}

    // How long work ends once a stop is asked for: at its next check, with nothing shown.
    static void raiseIfRequested(const std::stop_token& stop) {
        if (stop.stop_requested()) {
            throw EAbort();
        }
    }
};
