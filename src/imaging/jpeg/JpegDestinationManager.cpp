#include "imaging/jpeg/JpegDestinationManager.h"

#include "core/TStream.h"
#include "imaging/jpeg/JpegErrorManager.h"

#include <exception>

JpegDestinationManager::JpegDestinationManager(TStream& stream) {
    manager_.pub.init_destination = initDestination;
    manager_.pub.empty_output_buffer = emptyOutputBuffer;
    manager_.pub.term_destination = termDestination;
    manager_.stream = &stream;
}

void JpegDestinationManager::initDestination(j_compress_ptr cinfo) {
    auto* self = reinterpret_cast<Manager*>(cinfo->dest);
    self->pub.next_output_byte = self->buffer;
    self->pub.free_in_buffer = BlockSize;
}

boolean JpegDestinationManager::emptyOutputBuffer(j_compress_ptr cinfo) {
    append(cinfo, BlockSize); // the library calls this only when the whole buffer is full
    initDestination(cinfo);
    return TRUE;
}

void JpegDestinationManager::termDestination(j_compress_ptr cinfo) {
    auto* self = reinterpret_cast<Manager*>(cinfo->dest);
    append(cinfo, BlockSize - self->pub.free_in_buffer);
}

void JpegDestinationManager::append(j_compress_ptr cinfo, std::size_t count) {
    auto* self = reinterpret_cast<Manager*>(cinfo->dest);
    if (!tryWrite(*self, count)) {
        ERREXIT(cinfo, JERR_FILE_WRITE);
    }
}

// The stream may throw (out of memory); the library must not see that, so it becomes a
// short write here.
bool JpegDestinationManager::tryWrite(Manager& self, std::size_t count) {
    try {
        return self.stream->write(self.buffer, count) == count;
    } catch (...) {
        return false;
    }
}
