#include "imaging/jpeg/JpegTickCount.h"

#include <chrono>

namespace {

JpegTickCount::Source& source() {
    static JpegTickCount::Source current;
    return current;
}

} // namespace

std::uint32_t JpegTickCount::now() {
    if (source()) {
        return source()();
    }
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void JpegTickCount::setSource(Source newSource) {
    source() = std::move(newSource);
}
