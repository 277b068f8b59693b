#pragma once

#include "batch/BatchItem.h"
#include "batch/BatchOptions.h"
#include "batch/BatchResult.h"
#include "core/TMemoryStream.h"

#include <optional>
#include <stop_token>

class FileOperations;
class SaveEncoder;

// Recompresses one picture of a batch run as the window's "Save jpg as" does, at the
// quality the run aims at: the same reading, encode, markers and one-step write, so the
// same quality gives the same bytes. A stop request ends it at its next progress report,
// with nothing written.
class BatchJob {
public:
    BatchJob(const BatchOptions& options, FileOperations& files, std::stop_token stop)
        : options_(options), files_(files), stop_(std::move(stop)) {}

    BatchResult run(const BatchItem& item) const;

private:
    BatchResult recompress(const BatchItem& item) const;
    // The new file's bytes at the quality aimed at, or nothing when no quality reaches the
    // aim (the result then says why).
    std::optional<TMemoryStream> choose(SaveEncoder& encoder, BatchResult& result) const;
    std::optional<TMemoryStream> highestUnderSize(SaveEncoder& encoder, BatchResult& result) const;
    std::optional<TMemoryStream> smallestSimilarEnough(SaveEncoder& encoder,
                                                       BatchResult& result) const;
    TMemoryStream& encode(SaveEncoder& encoder, int quality, BatchResult& result) const;
    double similarity(SaveEncoder& encoder, TMemoryStream& bytes) const;
    void write(const BatchItem& item, const TMemoryStream& bytes, BatchResult& result) const;

    const BatchOptions& options_;
    FileOperations& files_;
    std::stop_token stop_;
};
