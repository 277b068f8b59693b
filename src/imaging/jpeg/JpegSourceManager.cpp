#include "imaging/jpeg/JpegSourceManager.h"

#include "core/TStream.h"

JpegSourceManager::JpegSourceManager(TStream& stream) {
    manager_.pub.init_source = initSource;
    manager_.pub.fill_input_buffer = fillInputBuffer;
    manager_.pub.skip_input_data = skipInputData;
    manager_.pub.resync_to_restart = jpeg_resync_to_restart;
    manager_.pub.term_source = termSource;
    manager_.pub.bytes_in_buffer = 0;
    manager_.pub.next_input_byte = nullptr;
    manager_.stream = &stream;
    manager_.atStart = true;
}

void JpegSourceManager::initSource(j_decompress_ptr cinfo) {
    reinterpret_cast<Manager*>(cinfo->src)->atStart = true;
}

boolean JpegSourceManager::fillInputBuffer(j_decompress_ptr cinfo) {
    auto* self = reinterpret_cast<Manager*>(cinfo->src);
    // A memory stream's read cannot throw, so nothing needs catching here.
    std::size_t count = self->stream->read(self->buffer, BlockSize);
    if (count == 0) {
        if (self->atStart) {
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        }
        WARNMS(cinfo, JWRN_JPEG_EOF);
        self->buffer[0] = 0xFF;
        self->buffer[1] = JPEG_EOI;
        count = 2;
    }
    self->pub.next_input_byte = self->buffer;
    self->pub.bytes_in_buffer = count;
    self->atStart = false;
    return TRUE;
}

void JpegSourceManager::skipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) {
        return;
    }
    auto* self = reinterpret_cast<Manager*>(cinfo->src);
    while (count > static_cast<long>(self->pub.bytes_in_buffer)) {
        count -= static_cast<long>(self->pub.bytes_in_buffer);
        fillInputBuffer(cinfo);
    }
    self->pub.next_input_byte += count;
    self->pub.bytes_in_buffer -= static_cast<std::size_t>(count);
}
