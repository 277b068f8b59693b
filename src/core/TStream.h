#pragma once

#include <cstddef>
#include <cstdint>

enum class SeekOrigin { Beginning, Current, End };

// A byte stream with a position. `read` and `write` move as far as they can and say how
// far that was; `readBuffer` and `writeBuffer` insist on the whole count.
class TStream {
public:
    virtual ~TStream() = default;

    virtual std::size_t read(void* buffer, std::size_t count) = 0;
    virtual std::size_t write(const void* buffer, std::size_t count) = 0;
    virtual std::int64_t seek(std::int64_t offset, SeekOrigin origin) = 0;
    virtual std::int64_t size();

    std::int64_t position() { return seek(0, SeekOrigin::Current); }
    void setPosition(std::int64_t position) { seek(position, SeekOrigin::Beginning); }
    // Bytes from the position to the end.
    std::int64_t remaining() { return size() - position(); }

    void readBuffer(void* buffer, std::size_t count);        // EReadError when short
    void writeBuffer(const void* buffer, std::size_t count); // EWriteError when short
    // Copies `count` bytes from `source`'s position, or all that remains when count is 0.
    std::int64_t copyFrom(TStream& source, std::int64_t count);
};
