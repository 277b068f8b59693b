#pragma once

#include "platform/desktop/MemoryStatus.h"

#include <string>

// The memory figures the kernel publishes: MemTotal and MemAvailable of /proc/meminfo.
class ProcMemoryStatus : public MemoryStatus {
public:
    explicit ProcMemoryStatus(std::string fileName = "/proc/meminfo")
        : fileName_(std::move(fileName)) {}

    Figures read() override;

private:
    std::string fileName_;
};
