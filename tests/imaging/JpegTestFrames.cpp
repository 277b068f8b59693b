#include "JpegTestFrames.h"

#include "imaging/jpeg/JpegCompressObject.h"
#include "imaging/jpeg/JpegErrorManager.h"

#include <cstdlib>
#include <stdexcept>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Sample rows of `components` interleaved channels, different in every channel.
std::vector<JSAMPLE> samples(const JpegFrame& frame) {
    const std::size_t components = frame.sampling.size();
    std::vector<JSAMPLE> result(std::size_t(frame.width) * frame.height * components);
    for (std::size_t i = 0; i < result.size(); ++i) {
        const std::size_t pixel = i / components;
        const std::size_t x = pixel % frame.width;
        const std::size_t y = pixel / frame.width;
        result[i] = static_cast<JSAMPLE>(x * 7 + y * 3 + (i % components) * 40);
    }
    return result;
}

void describe(jpeg_compress_struct& cinfo, const JpegFrame& frame,
              std::vector<jpeg_scan_info>& script) {
    cinfo.image_width = static_cast<JDIMENSION>(frame.width);
    cinfo.image_height = static_cast<JDIMENSION>(frame.height);
    cinfo.input_components = static_cast<int>(frame.sampling.size());
    cinfo.in_color_space = JCS_UNKNOWN;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, JCS_UNKNOWN);
    for (std::size_t c = 0; c < frame.sampling.size(); ++c) {
        cinfo.comp_info[c].h_samp_factor = frame.sampling[c].first;
        cinfo.comp_info[c].v_samp_factor = frame.sampling[c].second;
    }
    cinfo.arith_code = frame.arithmetic;
    cinfo.restart_in_rows = frame.restartRows;
    if (frame.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    for (const std::vector<int>& components : frame.scans) {
        jpeg_scan_info scan{};
        scan.comps_in_scan = static_cast<int>(components.size());
        for (std::size_t i = 0; i < components.size(); ++i) {
            scan.component_index[i] = components[i];
        }
        scan.Se = 63;
        script.push_back(scan);
    }
    if (!script.empty()) {
        cinfo.scan_info = script.data();
        cinfo.num_scans = static_cast<int>(script.size());
    }
}

std::size_t markerAt(const Bytes& jpeg, std::uint8_t marker, int occurrence) {
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == marker && occurrence-- == 0) {
            return i;
        }
    }
    throw std::runtime_error("marker not found");
}

} // namespace

Bytes JpegFrame::bytes() const {
    std::vector<JSAMPLE> pixels = samples(*this);
    std::vector<jpeg_scan_info> script;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    JpegErrorManager errors;
    {
        JpegCompressObject object(errors);
        jpeg_compress_struct& cinfo = object.cinfo;
        errors.run([&] {
            object.create();
            jpeg_mem_dest(&cinfo, &buffer, &size);
            describe(cinfo, *this, script);
            jpeg_start_compress(&cinfo, TRUE);
            const std::size_t stride = std::size_t(width) * sampling.size();
            while (cinfo.next_scanline < cinfo.image_height) {
                JSAMPROW row = pixels.data() + cinfo.next_scanline * stride;
                jpeg_write_scanlines(&cinfo, &row, 1);
            }
            jpeg_finish_compress(&cinfo);
        });
    }
    Bytes result(buffer, buffer + size);
    std::free(buffer);
    return result;
}

Bytes keepScans(Bytes jpeg, int scans) {
    jpeg.resize(markerAt(jpeg, 0xDA, scans));
    jpeg.insert(jpeg.end(), {0xFF, 0xD9});
    return jpeg;
}

Bytes withFrameSize(Bytes jpeg, std::uint16_t width, std::uint16_t height) {
    // Any start-of-frame marker: baseline, extended, progressive, arithmetic.
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        const std::uint8_t marker = jpeg[i + 1];
        if (jpeg[i] == 0xFF && marker >= 0xC0 && marker <= 0xCB && marker != 0xC4 &&
            marker != 0xC8) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            return jpeg;
        }
    }
    throw std::runtime_error("no frame header");
}
