#include "core/TStream.h"

#include "core/EReadError.h"
#include "core/EWriteError.h"

#include <algorithm>
#include <cerrno>
#include <vector>

std::int64_t TStream::size() {
    const std::int64_t here = position();
    const std::int64_t end = seek(0, SeekOrigin::End);
    seek(here, SeekOrigin::Beginning);
    return end;
}

void TStream::readBuffer(void* buffer, std::size_t count) {
    if (count != 0 && read(buffer, count) != count) {
        throw EReadError();
    }
}

void TStream::writeBuffer(const void* buffer, std::size_t count) {
    errno = 0;
    if (count != 0 && write(buffer, count) != count) {
        throw EWriteError(errno);
    }
}

std::int64_t TStream::copyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        count = source.remaining();
    }
    constexpr std::int64_t blockSize = 64 * 1024;
    std::vector<unsigned char> block(static_cast<std::size_t>(std::min(count, blockSize)));
    for (std::int64_t left = count; left > 0;) {
        const auto n = static_cast<std::size_t>(std::min(left, blockSize));
        source.readBuffer(block.data(), n);
        writeBuffer(block.data(), n);
        left -= static_cast<std::int64_t>(n);
    }
    return count;
}
