#include "imaging/formats/TiffHandle.h"

#include "core/EFOpenError.h"
#include "imaging/formats/EPictureFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

// No allocation made for one file may exceed the memory a picture may take, whatever counts its
// tags claim.
constexpr tmsize_t LargestAllocation = tmsize_t{1} << 30;

struct FreeOptions {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};
using Options = std::unique_ptr<TIFFOpenOptions, FreeOptions>;

// Some of libtiff's codecs still report through the process-wide handlers: nothing of them may
// reach the terminal the command line writes its one line a file to.
void silenceProcessHandlers() {
    static const bool silenced = [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
        return true;
    }();
    (void)silenced;
}

TiffHandle::Memory& memoryOf(thandle_t handle) {
    return *static_cast<TiffHandle::Memory*>(handle);
}

tmsize_t readMemory(thandle_t handle, void* buffer, tmsize_t count) {
    TiffHandle::Memory& memory = memoryOf(handle);
    if (count < 0 || memory.position >= memory.size) {
        return 0;
    }
    const std::uint64_t length =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(count), memory.size - memory.position);
    std::copy_n(memory.bytes + memory.position, length, static_cast<std::uint8_t*>(buffer));
    memory.position += length;
    return static_cast<tmsize_t>(length);
}

tmsize_t writeMemory(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t seekMemory(thandle_t handle, toff_t offset, int whence) {
    TiffHandle::Memory& memory = memoryOf(handle);
    const std::uint64_t base = whence == SEEK_CUR   ? memory.position
                               : whence == SEEK_END ? memory.size
                                                    : 0;
    if (offset > std::uint64_t{INT64_MAX} - base) {
        return static_cast<toff_t>(-1);
    }
    memory.position = base + offset;
    return memory.position;
}

int closeMemory(thandle_t) {
    return 0;
}

toff_t sizeOfMemory(thandle_t handle) {
    return memoryOf(handle).size;
}

// The bytes are already in memory: libtiff reads them where they are, as from a mapped file.
int mapMemory(thandle_t handle, void** base, toff_t* size) {
    *base = const_cast<std::uint8_t*>(memoryOf(handle).bytes);
    *size = memoryOf(handle).size;
    return 1;
}

void unmapMemory(thandle_t, void*, toff_t) {}

} // namespace

TiffHandle::TiffHandle(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        throw EFOpenError(path, errno);
    }
    const Options options(newOptions());
    tiff_ = TIFFFdOpenExt(file, path.c_str(), "r", options.get());
    if (!tiff_) {
        ::close(file); // closed by libtiff only once it is open
        fail("not a TIFF file");
    }
}

TiffHandle::TiffHandle(const std::uint8_t* bytes, std::size_t size) : memory_{bytes, size, 0} {
    const Options options(newOptions());
    tiff_ = TIFFClientOpenExt("memory", "r", &memory_, readMemory, writeMemory, seekMemory,
                              closeMemory, sizeOfMemory, mapMemory, unmapMemory, options.get());
    if (!tiff_) {
        fail("not a TIFF file");
    }
}

TiffHandle::~TiffHandle() {
    if (tiff_) {
        TIFFClose(tiff_);
    }
}

void TiffHandle::fail(const std::string& otherwise) const {
    throw EPictureFile("not a valid TIFF file", error_.empty() ? otherwise : error_);
}

void TiffHandle::checkAllocation(std::uint64_t bytes, const std::string& what) {
    if (bytes > static_cast<std::uint64_t>(LargestAllocation)) {
        throw EPictureFile("not a valid TIFF file",
                           what + " of " + std::to_string(bytes) + " bytes, more than the " +
                               std::to_string(LargestAllocation >> 20) + " MiB it may have");
    }
}

TIFFOpenOptions* TiffHandle::newOptions() {
    silenceProcessHandlers();
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) {
        throw std::bad_alloc();
    }
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, LargestAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, onError, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options, onWarning, this);
    return options;
}

int TiffHandle::onError(TIFF*, void* self, const char*, const char* format, va_list arguments) {
    std::string& error = static_cast<TiffHandle*>(self)->error_;
    if (error.empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, arguments);
        error = text;
    }
    return 1; // handled: nothing goes to the process-wide handler
}

int TiffHandle::onWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}
