#pragma once

#include <cstdint>
#include <utility>

// What tells one state of a file from another without reading it: the file itself (device
// and inode), its size, its last modification and its last change of any kind, both to the
// nanosecond. The change time is the one a user cannot set back, so a file rewritten with
// its old modification time put back still differs.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedSeconds = 0;
    std::int64_t changedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
    // The file itself, whatever its state: what every name of one file shares.
    std::pair<std::uint64_t, std::uint64_t> file() const { return {device, inode}; }
    bool sameFileAs(const FileIdentity& other) const { return file() == other.file(); }
};
