#pragma once

#include "core/EAbort.h"
#include "imaging/picture/TGraphic.h"

#include <stop_token>

// A progress handler that ends a picture's decode or encode at its next report once a stop
// is asked through `stop`: a cut-short decode keeps the rows it had, a cut-short encode
// keeps no bytes.
inline TGraphic::TProgressEvent abortOnStop(std::stop_token stop) {
    return [stop = std::move(stop)](TGraphic&, TProgressStage, std::uint8_t, bool, const TRect&,
                                    const std::string&) { EAbort::raiseIfRequested(stop); };
}
