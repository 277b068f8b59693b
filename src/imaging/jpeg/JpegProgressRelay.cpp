#include "imaging/jpeg/JpegProgressRelay.h"

#include "imaging/jpeg/JpegErrorManager.h"
#include "imaging/jpeg/JpegTickCount.h"
#include "imaging/jpeg/TJPEGImage.h"

JpegProgressRelay::JpegProgressRelay(TJPEGImage* owner) {
    manager_.pub.progress_monitor = monitor;
    manager_.pub.pass_counter = 0;
    manager_.pub.pass_limit = 0;
    manager_.pub.completed_passes = 0;
    manager_.pub.total_passes = 0;
    manager_.owner = owner;
    manager_.lastTime = 0;
    manager_.lastPercent = 0;
    manager_.lastRow = 0;
    manager_.doneBefore = 0;
}

void JpegProgressRelay::monitor(j_common_ptr cinfo) {
    auto& self = *reinterpret_cast<Manager*>(cinfo->progress);
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > MaxScans) {
        JpegErrorManager::fail(cinfo, TooManyScansCode);
    }
    if (self.owner == nullptr || throttled(self)) {
        return;
    }
    const int percent = percentDone(self);
    if (percent == self.lastPercent) {
        return;
    }
    if (!report(cinfo, self, percent)) {
        JpegErrorManager::jumpBack(cinfo);
    }
}

// The first call that passes the 500 ms gate only starts the clock.
bool JpegProgressRelay::throttled(Manager& self) {
    const std::uint32_t now = JpegTickCount::now();
    if (now - self.lastTime < ThrottleMilliseconds) {
        return true;
    }
    const std::uint32_t previous = self.lastTime;
    self.lastTime = now;
    return previous == 0;
}

int JpegProgressRelay::percentDone(const Manager& self) {
    const jpeg_progress_mgr& progress = self.pub;
    if (progress.total_passes <= 0) {
        return self.doneBefore;
    }
    double passDone = 0.0;
    if (progress.pass_limit > 0) {
        passDone = static_cast<double>(progress.pass_counter) / progress.pass_limit;
    }
    const double share = (progress.completed_passes + passDone) / progress.total_passes;
    return self.doneBefore + static_cast<int>((100 - self.doneBefore) * share);
}

// Hands the report to the owner; an exception from its handler is kept for the jump back.
bool JpegProgressRelay::report(j_common_ptr cinfo, Manager& self, int percent) {
    TRect r;
    if (cinfo->is_decompressor) {
        const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
        r = {0, self.lastRow, static_cast<std::int32_t>(d->output_width),
             static_cast<std::int32_t>(d->output_scanline)};
        if (r.bottom < r.top) { // a new output pass started again from the top
            r.bottom = static_cast<std::int32_t>(d->output_height);
        }
    }
    self.lastPercent = percent;
    if (cinfo->is_decompressor) {
        self.lastRow = static_cast<int>(reinterpret_cast<j_decompress_ptr>(cinfo)->output_scanline);
    }
    try {
        self.owner->relayProgress(TProgressStage::Running, static_cast<std::uint8_t>(percent),
                                  r.bottom - r.top >= 4, r);
        return true;
    } catch (...) {
        JpegErrorManager::keepException(cinfo, std::current_exception());
        return false;
    }
}
