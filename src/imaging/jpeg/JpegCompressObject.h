#pragma once

#include "imaging/jpeg/JpegErrorManager.h"

#include <cstdio>
#include <jpeglib.h>

// A compression object that is always destroyed, also when creating it failed half-way.
class JpegCompressObject {
public:
    explicit JpegCompressObject(JpegErrorManager& errors) { cinfo.err = errors.get(); }
    ~JpegCompressObject() { jpeg_destroy_compress(&cinfo); }
    JpegCompressObject(const JpegCompressObject&) = delete;
    JpegCompressObject& operator=(const JpegCompressObject&) = delete;

    // Inside JpegErrorManager::run: the library may fail.
    void create() { jpeg_create_compress(&cinfo); }

    jpeg_compress_struct cinfo{};
};
