#pragma once

#include <csetjmp>
#include <cstdio>
#include <exception>
#include <jerror.h>
#include <jpeglib.h>

// The error manager of every library object. The library is C: nothing may unwind through
// its frames. A fatal error, or an exception caught in one of our callbacks, jumps back to
// run(), which throws from our own C++ frame.
class JpegErrorManager {
public:
    JpegErrorManager();
    JpegErrorManager(const JpegErrorManager&) = delete;
    JpegErrorManager& operator=(const JpegErrorManager&) = delete;

    jpeg_error_mgr* get() { return &manager_.pub; }

    // Calls `call`, which drives the library. Nothing with a destructor may live inside
    // `call` between library calls, since a jump back skips it.
    template <typename Call> void run(Call&& call) {
        if (setjmp(manager_.jump) == 0) {
            call();
            return;
        }
        throwPending();
    }

    // For callbacks: keeps the current exception to rethrow in run(), then jumps back.
    // Must be called outside any catch block, with no live object in the caller's frame.
    static void keepException(j_common_ptr cinfo, std::exception_ptr error);
    [[noreturn]] static void jumpBack(j_common_ptr cinfo);
    // Fails the library object with our own message code.
    [[noreturn]] static void fail(j_common_ptr cinfo, int code);

private:
    struct Manager {
        jpeg_error_mgr pub; // first, so the library's pointer is also ours
        std::jmp_buf jump;
        std::exception_ptr pending;
    };

    [[noreturn]] void throwPending();
    static Manager& of(j_common_ptr cinfo);
    [[noreturn]] static void errorExit(j_common_ptr cinfo);
    static void emitMessage(j_common_ptr, int) {}
    static void outputMessage(j_common_ptr) {}
    static void formatMessage(j_common_ptr, char* buffer) { buffer[0] = '\0'; }
    static void resetErrorManager(j_common_ptr cinfo);

    // The library's own wording of its messages, kept for the reason of an EJPEG.
    void (*libraryFormat_)(j_common_ptr, char*) = nullptr;
    Manager manager_;
};
