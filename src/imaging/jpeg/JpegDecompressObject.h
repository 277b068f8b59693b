#pragma once

#include "imaging/jpeg/JpegErrorManager.h"

#include <cstdio>
#include <jpeglib.h>

// A decompression object that is always destroyed, also when creating it failed half-way.
class JpegDecompressObject {
public:
    explicit JpegDecompressObject(JpegErrorManager& errors) { cinfo.err = errors.get(); }
    ~JpegDecompressObject() { jpeg_destroy_decompress(&cinfo); }
    JpegDecompressObject(const JpegDecompressObject&) = delete;
    JpegDecompressObject& operator=(const JpegDecompressObject&) = delete;

    // Inside JpegErrorManager::run: the library may fail.
    void create() { jpeg_create_decompress(&cinfo); }

    jpeg_decompress_struct cinfo{};
};
