#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <tiffio.h>

// An open TIFF file, or a file's bytes in memory, whose errors and warnings libtiff hands here
// rather than printing them: its first error is the reason the file is refused.
class TiffHandle {
public:
    // EFOpenError when the file cannot be opened, EPictureFile when libtiff refuses it.
    explicit TiffHandle(const std::string& path);
    TiffHandle(const std::uint8_t* bytes, std::size_t size);
    ~TiffHandle();
    TiffHandle(const TiffHandle&) = delete;
    TiffHandle& operator=(const TiffHandle&) = delete;

    TIFF* tiff() const { return tiff_; }
    // Raises EPictureFile with libtiff's first error, or `otherwise` when it gave none.
    [[noreturn]] void fail(const std::string& otherwise) const;
    // Refuses, with EPictureFile, a buffer of more bytes than libtiff may allocate at once for
    // the file: such sizes come from the claims of a few bytes of tags, not from a picture.
    // `what` names it ("a tile").
    static void checkAllocation(std::uint64_t bytes, const std::string& what);

    struct Memory {
        const std::uint8_t* bytes = nullptr;
        std::uint64_t size = 0;
        std::uint64_t position = 0;
    };

private:
    TIFFOpenOptions* newOptions();
    static int onError(TIFF* tiff, void* self, const char* module, const char* format,
                       va_list arguments);
    static int onWarning(TIFF* tiff, void* self, const char* module, const char* format,
                         va_list arguments);

    Memory memory_;
    std::string error_;
    TIFF* tiff_ = nullptr;
};
