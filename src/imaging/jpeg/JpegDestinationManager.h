#pragma once

#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

class TStream;

// Collects the library's output in a 4096-byte buffer and appends each full buffer, then
// the rest at the end, to a stream.
class JpegDestinationManager {
public:
    static constexpr std::size_t BlockSize = 4096;

    explicit JpegDestinationManager(TStream& stream);
    JpegDestinationManager(const JpegDestinationManager&) = delete;
    JpegDestinationManager& operator=(const JpegDestinationManager&) = delete;

    // After the library object is created, which clears its fields.
    void attach(j_compress_ptr cinfo) { cinfo->dest = &manager_.pub; }

private:
    struct Manager {
        jpeg_destination_mgr pub; // first, so the library's pointer is also ours
        TStream* stream;
        JOCTET buffer[BlockSize];
    };

    static void initDestination(j_compress_ptr cinfo);
    static boolean emptyOutputBuffer(j_compress_ptr cinfo);
    static void termDestination(j_compress_ptr cinfo);
    static void append(j_compress_ptr cinfo, std::size_t count);
    static bool tryWrite(Manager& self, std::size_t count);

    Manager manager_;
};
