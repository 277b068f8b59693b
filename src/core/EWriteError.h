#pragma once

#include "core/Exception.h"

// A stream took fewer bytes than were given to it (a full disk, for example).
class EWriteError : public Exception {
public:
    explicit EWriteError(int error = 0) : Exception("Erreur d'écriture du flux") {
        setSystemReason(error);
    }
};
