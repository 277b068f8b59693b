#pragma once

#include <cstdint>
#include <functional>

// The millisecond clock that throttles progress reports. Tests replace it to step time.
class JpegTickCount {
public:
    using Source = std::function<std::uint32_t()>;

    static std::uint32_t now();
    // An empty source restores the monotonic clock.
    static void setSource(Source source);
};
