#pragma once

#include "core/TMemoryStream.h"

#include <cstdint>
#include <memory>

// The bytes of one JPEG file and what its header says, shared between the pictures that
// show it. Copies for display take a reference instead of copying the bytes.
class TJPEGData {
public:
    // A new record holding one reference.
    static TJPEGData* create();
    void reference() { ++RefCount; }
    // Drops one reference; the last one destroys the record with its bytes.
    void release();

    std::int32_t RefCount = 0;
    std::unique_ptr<TMemoryStream> Bytes; // the whole file; null until read or encoded
    std::uint32_t HeaderHeight = 0;
    std::uint32_t HeaderWidth = 0;
    bool IsGray = false;

private:
    TJPEGData() = default;
};
