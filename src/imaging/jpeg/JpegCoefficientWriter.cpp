#include "imaging/jpeg/JpegCoefficientWriter.h"

#include "imaging/jpeg/JpegErrorManager.h"
#include "imaging/jpeg/JpegLookTables.h"

namespace {

// The DC of all three components together, then bands of frequencies: the chroma whole,
// the luma in three bands, each with Huffman tables of its own.
constexpr std::array<jpeg_scan_info, 6> BandedScans = {{
    {3, {0, 1, 2, 0}, 0, 0, 0, 0},
    {1, {0, 0, 0, 0}, 1, 2, 0, 0},
    {1, {1, 0, 0, 0}, 1, 63, 0, 0},
    {1, {2, 0, 0, 0}, 1, 63, 0, 0},
    {1, {0, 0, 0, 0}, 3, 9, 0, 0},
    {1, {0, 0, 0, 0}, 10, 63, 0, 0},
}};

JDIMENSION roundUp(JDIMENSION value, JDIMENSION multiple) {
    return (value + multiple - 1) / multiple * multiple;
}

} // namespace

JpegCoefficientWriter::JpegCoefficientWriter(jpeg_compress_struct& cinfo, JpegErrorManager& errors)
    : cinfo_(cinfo), errors_(errors) {}

void JpegCoefficientWriter::begin(const JpegLookTables& tables) {
    cinfo_.in_color_space = JCS_RGB;
    cinfo_.input_components = 3;
    const boolean jfif = cinfo_.write_JFIF_header;
    jpeg_set_defaults(&cinfo_);
    cinfo_.write_JFIF_header = jfif;
    setComponents(tables);
    if (tables.bandedScans()) {
        cinfo_.scan_info = BandedScans.data();
        cinfo_.num_scans = static_cast<int>(BandedScans.size());
    } else {
        jpeg_simple_progression(&cinfo_);
    }
    cinfo_.optimize_coding = TRUE;
    requestArrays();
    jpeg_write_coefficients(&cinfo_, arrays_.data());
    for (std::size_t c = 0; c < arrays_.size(); ++c) {
        planes_[c] = cinfo_.mem->access_virt_barray(reinterpret_cast<j_common_ptr>(&cinfo_),
                                                    arrays_[c], 0, rows_[c], TRUE);
    }
}

void JpegCoefficientWriter::setComponents(const JpegLookTables& tables) {
    unsigned int steps[64];
    for (std::size_t i = 0; i < 64; ++i) {
        steps[i] = tables.luma()[i];
    }
    jpeg_add_quant_table(&cinfo_, 0, steps, 100, TRUE);
    for (std::size_t i = 0; i < 64; ++i) {
        steps[i] = tables.chroma()[i];
    }
    jpeg_add_quant_table(&cinfo_, 1, steps, 100, TRUE);
    const int lumaSampling = tables.subsampledChroma() ? 2 : 1;
    cinfo_.comp_info[0].h_samp_factor = lumaSampling;
    cinfo_.comp_info[0].v_samp_factor = lumaSampling;
    for (int c = 1; c < 3; ++c) {
        cinfo_.comp_info[c].h_samp_factor = 1;
        cinfo_.comp_info[c].v_samp_factor = 1;
    }
}

// The library works the component sizes out only once the arrays are handed over, so they
// are worked out here the same way, rounded up to whole MCUs. The coder writes every block,
// so the arrays need no clearing first.
void JpegCoefficientWriter::requestArrays() {
    const JDIMENSION maxSampling = static_cast<JDIMENSION>(cinfo_.comp_info[0].h_samp_factor);
    for (std::size_t c = 0; c < arrays_.size(); ++c) {
        const auto sampling = static_cast<JDIMENSION>(cinfo_.comp_info[c].h_samp_factor);
        const JDIMENSION across =
            (cinfo_.image_width * sampling + maxSampling * DCTSIZE - 1) / (maxSampling * DCTSIZE);
        const JDIMENSION down =
            (cinfo_.image_height * sampling + maxSampling * DCTSIZE - 1) / (maxSampling * DCTSIZE);
        rows_[c] = roundUp(down, sampling);
        arrays_[c] =
            cinfo_.mem->request_virt_barray(reinterpret_cast<j_common_ptr>(&cinfo_), JPOOL_IMAGE,
                                            FALSE, roundUp(across, sampling), rows_[c], rows_[c]);
    }
}

void JpegCoefficientWriter::progress(int done, int total) {
    jpeg_progress_mgr* monitor = cinfo_.progress;
    if (monitor == nullptr) {
        return;
    }
    // Our passes come before the library's own, which set these fields again.
    monitor->pass_counter = done;
    monitor->pass_limit = total;
    monitor->completed_passes = 0;
    monitor->total_passes = 2;
    errors_.run([&] { monitor->progress_monitor(reinterpret_cast<j_common_ptr>(&cinfo_)); });
}

void JpegCoefficientWriter::finish() {
    errors_.run([&] { jpeg_finish_compress(&cinfo_); });
}
