#include "core/EAbort.h"
#include "imaging/bmp/TBitmapImage.h"
#include "imaging/jpeg/EJPEG.h"
#include "imaging/jpeg/JpegDecompressObject.h"
#include "imaging/jpeg/JpegProgressRelay.h"
#include "imaging/jpeg/JpegSourceManager.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// What one decode may take: the library's whole-image buffers and the bitmap together.
// Checked before either exists, so a crafted header cannot exhaust memory.
constexpr std::int64_t DecodeBudget = TBitmapImage::MaximumPixelBytes;

j_common_ptr common(jpeg_decompress_struct& cinfo) {
    return reinterpret_cast<j_common_ptr>(&cinfo);
}

// Four-component files are turned into blue, green, red; files written by Adobe's tools
// store their inks inverted.
void cmykToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const int k = inverted ? cmyk[3] : 255 - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const int ink = inverted ? cmyk[c] : 255 - cmyk[c];
            bgr[2 - c] = static_cast<std::uint8_t>((ink * k + 127) / 255);
        }
    }
}

} // namespace

// What the preparation decided, for the passes that follow.
struct TJPEGImage::DecoderSettings {
    J_DCT_METHOD dctMethod = JDCT_FLOAT;
    boolean twoPassQuantize = TRUE;
    J_DITHER_MODE ditherMode = JDITHER_FS;
    bool buffered = false;       // scan-by-scan display of a multi-scan file
    bool fourComponents = false; // CMYK or YCCK, converted here
};

// Everything one decode needs. Built outside the library calls, since a jump back from
// the library skips the destructors of whatever was made between.
struct TJPEGImage::DecodeJob {
    DecodeJob(TStream& bytes, TJPEGImage* progressOwner, TBitmap* target)
        : source(bytes), relay(progressOwner), bitmap(target) {}

    JpegErrorManager errors;
    JpegDecompressObject object{errors};
    JpegSourceManager source;
    JpegProgressRelay relay;
    DecoderSettings settings;
    TBitmap* bitmap;
    bool generatePalettes = true;
    std::vector<JSAMPROW> rows;
    JDIMENSION rowsWritten = 0; // by any pass so far
    std::vector<JSAMPLE> inkRow;
    std::vector<TPaletteEntry> palette;
};

TBitmap& TJPEGImage::Decode() {
    if (bitmap_) {
        return *bitmap_;
    }
    if (!data_->Bytes) {
        throw EJPEG(JERR_INPUT_EMPTY); // nothing was ever read or encoded
    }
    bitmap_ = std::make_unique<TBitmap>();
    try {
        decodeInto(*bitmap_);
    } catch (const EAbort&) {
        // Cancelled by a progress handler: the rows decoded so far stay.
    }
    return *bitmap_;
}

void TJPEGImage::PrepareDecoder(DecodeJob& job) const {
    jpeg_decompress_struct& cinfo = job.object.cinfo;
    DecoderSettings& settings = job.settings;
    data_->Bytes->setPosition(0);
    job.errors.run([&] {
        job.object.create();
        job.source.attach(&cinfo);
        job.relay.attach(common(cinfo));
        jpeg_read_header(&cinfo, TRUE);
        cinfo.scale_num = 1;
        cinfo.scale_denom = 1u << static_cast<unsigned>(decodeScale_);
        cinfo.do_block_smoothing = blockSmoothing_;
        settings.fourComponents = cinfo.num_components == 4;
        if (settings.fourComponents) {
            cinfo.out_color_space = JCS_CMYK;
        } else if (grayMode_) {
            cinfo.out_color_space = JCS_GRAYSCALE;
        } else if (cinfo.out_color_space == JCS_RGB) {
            cinfo.out_color_space = JCS_EXT_BGR; // the byte order of a 24-bit bitmap row
        }
        if (!settings.fourComponents &&
            (decodeDepth_ == TJPEGDecodeDepth::Depth8 || cinfo.out_color_space == JCS_GRAYSCALE)) {
            cinfo.quantize_colors = TRUE;
            cinfo.desired_number_of_colors = 236;
            if (cinfo.out_color_space != JCS_GRAYSCALE) {
                cinfo.out_color_space = JCS_RGB; // colour map components red, green, blue
            }
        }
        if (decodeSpeed_ == TJPEGDecodeSpeed::Fast) {
            cinfo.dct_method = JDCT_IFAST;
            cinfo.two_pass_quantize = FALSE;
            cinfo.dither_mode = JDITHER_ORDERED;
        } else {
            cinfo.dct_method = JDCT_FLOAT;
        }
        settings.dctMethod = cinfo.dct_method;
        settings.twoPassQuantize = cinfo.two_pass_quantize;
        settings.ditherMode = cinfo.dither_mode;
        if (progressiveRead_ && jpeg_has_multiple_scans(&cinfo)) {
            cinfo.enable_2pass_quant = cinfo.two_pass_quantize;
            cinfo.dct_method = JDCT_IFAST;
            cinfo.two_pass_quantize = FALSE;
            cinfo.dither_mode = JDITHER_ORDERED;
            cinfo.buffered_image = TRUE;
            settings.buffered = true;
        }
    });
}

void TJPEGImage::decodeInto(TBitmap& bitmap) {
    DecodeJob job(*data_->Bytes, this, &bitmap);
    PrepareDecoder(job);
    const bool eightBits = job.object.cinfo.quantize_colors;
    bitmap.releaseImage();
    bitmap.setPixelFormat(eightBits ? TPixelFormat::Bits8 : TPixelFormat::Bits24);
    report(TProgressStage::Starting, 0);
    try {
        runDecode(job);
    } catch (...) {
        whitenUnwrittenRows(job);
        report(TProgressStage::Ending, 0, paletteChanged_);
        if (paletteChanged_) {
            changed();
        }
        throw;
    }
    report(TProgressStage::Ending, 100, paletteChanged_);
    if (paletteChanged_) {
        changed();
    }
}

void TJPEGImage::runDecode(DecodeJob& job) {
    jpeg_decompress_struct& cinfo = job.object.cinfo;
    job.errors.run([&] {
        handDisplayPalette(job);
        startDecompress(job);
        sizeBitmap(job);
        if (job.settings.buffered) {
            decodeScans(job);
        }
        if ((!job.settings.buffered || job.settings.twoPassQuantize) && cinfo.colormap &&
            job.generatePalettes) {
            takeColourMap(job);
        }
        readAllRows(job);
        if (job.settings.buffered) {
            jpeg_finish_output(&cinfo);
        }
        jpeg_finish_decompress(&cinfo);
    });
}

// A palette given to the picture becomes the library's colour map at 8 bits.
void TJPEGImage::handDisplayPalette(DecodeJob& job) {
    if (!displayPalette_) {
        return;
    }
    if (decodeDepth_ == TJPEGDecodeDepth::Depth24) {
        displayPalette_.reset();
        return;
    }
    jpeg_decompress_struct& cinfo = job.object.cinfo;
    const auto count = static_cast<JDIMENSION>(std::min<std::size_t>(displayPalette_->size(), 256));
    if (count > 0 && cinfo.quantize_colors) {
        cinfo.colormap = (*cinfo.mem->alloc_sarray)(common(cinfo), JPOOL_IMAGE, count, 3);
        for (JDIMENSION i = 0; i < count; ++i) {
            const TPaletteEntry& entry = (*displayPalette_)[i];
            cinfo.colormap[0][i] = entry.red;
            cinfo.colormap[1][i] = entry.green;
            cinfo.colormap[2][i] = entry.blue;
        }
        cinfo.actual_number_of_colors = static_cast<int>(count);
    }
    job.bitmap->setPalette(*displayPalette_);
    job.generatePalettes = false;
}

void TJPEGImage::startDecompress(DecodeJob& job) {
    jpeg_decompress_struct& cinfo = job.object.cinfo;
    // Other counts would put more than three bytes a pixel into the bitmap's rows.
    if (cinfo.num_components != 1 && cinfo.num_components != 3 && cinfo.num_components != 4) {
        JpegErrorManager::fail(common(cinfo), JERR_COMPONENT_COUNT);
    }
    jpeg_calc_output_dimensions(&cinfo);
    const int bitCount = TBitmapImage::bitCountOf(job.bitmap->pixelFormat());
    const std::int64_t bitmapBytes =
        TBitmapImage::pixelBytes(cinfo.output_width, cinfo.output_height, bitCount);
    if (bitmapBytes > DecodeBudget) {
        JpegErrorManager::fail(common(cinfo), JERR_IMAGE_TOO_BIG);
    }
    // The library refuses at once, before allocating them, whole-image buffers (multi-scan
    // files, two-pass quantisation) that do not fit in what the bitmap leaves. At least 1:
    // 0 would mean no limit.
    cinfo.mem->max_memory_to_use =
        static_cast<long>(std::max<std::int64_t>(1, DecodeBudget - bitmapBytes));
    jpeg_start_decompress(&cinfo);
}

void TJPEGImage::sizeBitmap(DecodeJob& job) {
    jpeg_decompress_struct& cinfo = job.object.cinfo;
    TBitmap& bitmap = *job.bitmap;
    bitmap.releaseImage();
    const auto width = static_cast<int>(cinfo.output_width);
    const auto height = static_cast<int>(cinfo.output_height);
    // Every row of a 24-bit picture is written by the decode, or whitened if it stops early;
    // in picture order, the rows can be drawn where they lie.
    if (bitmap.pixelFormat() == TPixelFormat::Bits24) {
        bitmap.setSizeToOverwrite(width, height, true);
    } else {
        bitmap.setSize(width, height);
    }
    job.rows.resize(cinfo.output_height);
    for (JDIMENSION y = 0; y < cinfo.output_height; ++y) {
        job.rows[y] = bitmap.scanLine(static_cast<int>(y));
    }
    if (job.settings.fourComponents) {
        job.inkRow.resize(std::size_t{cinfo.output_width} * 4);
    }
}

// Shows the picture scan by scan, then runs the final pass with the final settings.
void TJPEGImage::decodeScans(DecodeJob& job) {
    jpeg_decompress_struct& cinfo = job.object.cinfo;
    bool passCompleted = false;
    while (jpeg_consume_input(&cinfo) != JPEG_REACHED_EOI) {
        jpeg_start_output(&cinfo, cinfo.input_scan_number);
        if (!passCompleted && cinfo.colormap && cinfo.quantize_colors && job.generatePalettes) {
            takeColourMap(job);
        }
        readAllRows(job);
        jpeg_finish_output(&cinfo);
        passCompleted = true;
    }
    cinfo.dct_method = job.settings.dctMethod;
    cinfo.dither_mode = job.settings.ditherMode;
    if (job.settings.twoPassQuantize) {
        cinfo.two_pass_quantize = TRUE;
        cinfo.colormap = nullptr;
    }
    jpeg_start_output(&cinfo, cinfo.input_scan_number);
}

void TJPEGImage::whitenUnwrittenRows(DecodeJob& job) {
    if (job.bitmap->pixelFormat() != TPixelFormat::Bits24) {
        return; // painted white when sized
    }
    const std::size_t length = static_cast<std::size_t>(job.bitmap->width()) * 3;
    for (std::size_t y = job.rowsWritten; y < job.rows.size(); ++y) {
        std::memset(job.rows[y], 0xFF, length);
    }
}

void TJPEGImage::readAllRows(DecodeJob& job) {
    jpeg_decompress_struct& cinfo = job.object.cinfo;
    // The rows are handed over as pointers, so bottom-up rows go in bulk as well.
    const auto rowsPerCall = static_cast<JDIMENSION>(cinfo.rec_outbuf_height);
    const bool inverted = cinfo.saw_Adobe_marker;
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION y = cinfo.output_scanline;
        if (job.settings.fourComponents) {
            JSAMPROW ink = job.inkRow.data();
            jpeg_read_scanlines(&cinfo, &ink, 1);
            cmykToBgr(ink, job.rows[y], cinfo.output_width, inverted);
        } else {
            jpeg_read_scanlines(&cinfo, &job.rows[y],
                                std::min(rowsPerCall, cinfo.output_height - y));
        }
        job.rowsWritten = std::max(job.rowsWritten, cinfo.output_scanline);
    }
}

void TJPEGImage::takeColourMap(DecodeJob& job) {
    jpeg_decompress_struct& cinfo = job.object.cinfo;
    const bool gray = cinfo.out_color_components == 1;
    std::vector<TPaletteEntry>& palette = job.palette;
    palette.resize(static_cast<std::size_t>(cinfo.actual_number_of_colors));
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i].red = cinfo.colormap[0][i];
        palette[i].green = cinfo.colormap[gray ? 0 : 1][i];
        palette[i].blue = cinfo.colormap[gray ? 0 : 2][i];
        palette[i].flags = 0;
    }
    job.bitmap->setPalette(palette);
    paletteChanged_ = true;
}

void TJPEGImage::computeScaledSize() const {
    if (!needsRescale_ || !data_->Bytes) {
        return;
    }
    DecodeJob job(*data_->Bytes, nullptr, nullptr);
    PrepareDecoder(job);
    jpeg_decompress_struct& cinfo = job.object.cinfo;
    job.errors.run([&] { jpeg_calc_output_dimensions(&cinfo); });
    scaledWidth_ = cinfo.output_width;
    scaledHeight_ = cinfo.output_height;
    progressiveWrite_ = jpeg_has_multiple_scans(&cinfo);
    needsRescale_ = false;
}
