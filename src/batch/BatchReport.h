#pragma once

#include "batch/BatchItem.h"
#include "batch/BatchOptions.h"
#include "batch/BatchResult.h"

#include <QElapsedTimer>
#include <cstdio>
#include <mutex>

// What a batch run says: a line a picture (or a JSON object a picture with --json), the
// failures on the error stream, a progress bar on a terminal, and a summary at the end.
// Safe to call from several workers at once.
class BatchReport {
public:
    BatchReport(const BatchOptions& options, int total, std::FILE* out, std::FILE* err,
                bool terminal);

    void done(const BatchItem& item, const BatchResult& result);
    void finish(bool interrupted);

    // The texts, one picture's and the run's, for tests and scripts.
    static QString line(const BatchItem& item, const BatchResult& result);
    static QString json(const BatchItem& item, const BatchResult& result);
    QString summary(bool interrupted) const;
    int failures() const { return failed_; }

private:
    // "1 written, 2 failed; 1.20 MiB -> 300.0 KiB (24.4 %)", or "2 failed, nothing written".
    QString outcomes() const;
    void drawProgress();
    void clearProgress();

    const BatchOptions& options_;
    int total_;
    std::FILE* out_;
    std::FILE* err_;
    bool terminal_;
    QElapsedTimer clock_;
    std::mutex lock_;
    int finished_ = 0;
    int written_ = 0;
    int notSmaller_ = 0;
    int failed_ = 0;
    std::int64_t bytesBefore_ = 0;
    std::int64_t bytesAfter_ = 0;
};
