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
    // The share of the whole done before the library's passes start, reported as done: an
    // encode whose own work comes first does not run its bar back to zero.
    void setDoneBefore(int percent) { manager_.doneBefore = percent; }

private:
    struct Manager {
        jpeg_progress_mgr pub; // first, so the library's pointer is also ours
        TJPEGImage* owner;
        std::uint32_t lastTime;
        int lastPercent;
        int lastRow;
        int doneBefore;
    };

    static void monitor(j_common_ptr cinfo);
    static bool throttled(Manager& self);
    static int percentDone(const Manager& self);
    static bool report(j_common_ptr cinfo, Manager& self, int percent);

    Manager manager_;
};
