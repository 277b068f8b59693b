#pragma once

#include "core/Exception.h"

// A stream took fewer bytes than were given to it (a full disk, for example).
class EWriteError : public Exception {
public:
    EWriteError() : Exception("Erreur d'écriture du flux") {}
};
