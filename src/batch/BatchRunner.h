#pragma once

#include "batch/BatchOptions.h"

#include <cstdio>

class FileOperations;

// A batch run from start to end: the plan, the pictures shared out among the jobs, the
// report. SIGINT and SIGTERM stop it within a second: the pictures under way end at their
// next progress report, unwritten, and nothing half-written is left.
class BatchRunner {
public:
    static constexpr int AllDone = 0;
    static constexpr int SomeFailed = 1;
    static constexpr int UsageMistake = 2;

    // The exit status: AllDone, SomeFailed, UsageMistake, or 128 + the signal that stopped it.
    static int run(const BatchOptions& options, FileOperations& files, std::FILE* out,
                   std::FILE* err);
};
