#pragma once

#include <cstdint>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

class TJPEGImage;

// The progress monitor of a library object: turns the library's calls into running
// reports of its owner, at most one per 500 ms and only when the whole percentage moved.
// It also stops decodes of files with an absurd number of scans, which could otherwise
// keep the program busy for minutes.
class JpegProgressRelay {
public:
    static constexpr std::uint32_t ThrottleMilliseconds = 500;
    static constexpr int MaxScans = 500;
    // Our own code for "too many scans": one past the library's last message code.
    static constexpr int TooManyScansCode = JMSG_LASTMSGCODE;

    explicit JpegProgressRelay(TJPEGImage* owner);
    JpegProgressRelay(const JpegProgressRelay&) = delete;
    JpegProgressRelay& operator=(const JpegProgressRelay&) = delete;

    // After the library object is created, which clears its fields.
    void attach(j_common_ptr cinfo) { cinfo->progress = &manager_.pub; }
    void detach() { manager_.owner = nullptr; }

private:
    struct Manager {
        jpeg_progress_mgr pub; // first, so the library's pointer is also ours
        TJPEGImage* owner;
        std::uint32_t lastTime;
        int lastPercent;
        int lastRow;
    };

    static void monitor(j_common_ptr cinfo);
    static bool throttled(Manager& self);
    static int percentDone(const jpeg_progress_mgr& progress);
    static bool report(j_common_ptr cinfo, Manager& self, int percent);

    Manager manager_;
};
