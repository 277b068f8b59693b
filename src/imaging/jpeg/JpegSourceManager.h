#pragma once

#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

class TStream;

// Feeds the library from a stream in blocks of 4096 bytes. Data that ends early is
// finished with a fake end-of-image marker, so a truncated file decodes as far as it goes.
class JpegSourceManager {
public:
    static constexpr std::size_t BlockSize = 4096;

    // The stream is read from its position.
    explicit JpegSourceManager(TStream& stream);
    JpegSourceManager(const JpegSourceManager&) = delete;
    JpegSourceManager& operator=(const JpegSourceManager&) = delete;

    // After the library object is created, which clears its fields.
    void attach(j_decompress_ptr cinfo) { cinfo->src = &manager_.pub; }

private:
    struct Manager {
        jpeg_source_mgr pub; // first, so the library's pointer is also ours
        TStream* stream;
        bool atStart;
        JOCTET buffer[BlockSize];
    };

    static void initSource(j_decompress_ptr cinfo);
    static boolean fillInputBuffer(j_decompress_ptr cinfo);
    static void skipInputData(j_decompress_ptr cinfo, long count);
    static void termSource(j_decompress_ptr) {}

    Manager manager_;
};
