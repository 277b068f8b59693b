#include "imaging/jpeg/TJPEGData.h"

TJPEGData* TJPEGData::create() {
    auto* data = new TJPEGData;
    data->RefCount = 1;
    return data;
}

void TJPEGData::release() {
    if (--RefCount == 0) {
        delete this;
    }
}
