#pragma once

#include "core/Exception.h"
#include "platform/desktop/MemoryStatus.h"

// Memory figures for tests: whatever they are set to, or a failure.
class FakeMemoryStatus : public MemoryStatus {
public:
    Figures figures{std::uint64_t{8} << 30, std::uint64_t{4} << 30};
    bool failing = false;

    Figures read() override {
        if (failing) {
            throw Exception("no memory figures");
        }
        return figures;
    }
};
