#pragma once

#include "core/Exception.h"

// A stream delivered fewer bytes than were asked of it.
class EReadError : public Exception {
public:
    EReadError() : Exception("Erreur de lecture du flux") {}
};
