#include "core/EAbort.h"
#include "imaging/bmp/PixelMemory.h"
#include "imaging/jpeg/JpegCoefficientWriter.h"
#include "imaging/jpeg/JpegCompressObject.h"
#include "imaging/jpeg/JpegDestinationManager.h"
#include "imaging/jpeg/JpegLookCoder.h"
#include "imaging/jpeg/JpegLookTables.h"
#include "imaging/jpeg/JpegProgressRelay.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"

#include <vector>

namespace {

// The rows handed to the library at a time when their memory goes back as they are coded.
constexpr int ReleasedBand = 64;
// The share of the smallest coding's progress that choosing the coefficients takes: the
// library's passes writing them fill the rest.
constexpr int CoefficientsShare = 50;

} // namespace

void TJPEGImage::Encode() {
    try {
        encodeBitmap();
    } catch (const EAbort&) {
        // A cancelled encode keeps nothing half-written.
        replaceData(TJPEGData::create());
    }
}

void TJPEGImage::encodeBitmap() {
    if (data_->Bytes) {
        replaceData(TJPEGData::create()); // other holders keep the old bytes
    }
    data_->Bytes = std::make_unique<TMemoryStream>();
    if (!bitmap_ || bitmap_->width() == 0 || bitmap_->height() == 0) {
        return;
    }
    data_->HeaderWidth = static_cast<std::uint32_t>(bitmap_->width());
    data_->HeaderHeight = static_cast<std::uint32_t>(bitmap_->height());

    // The copy shares the pixels, so a 24-bit bitmap is not copied at all.
    TBitmap rgb;
    rgb.CopyFrom(bitmap_.get());
    rgb.setPixelFormat(TPixelFormat::Bits24);

    try {
        report(TProgressStage::Starting, 0);
        compress(rgb);
    } catch (...) {
        report(TProgressStage::Ending, 0);
        throw;
    }
    report(TProgressStage::Ending, 100);
}

void TJPEGImage::compress(const TBitmap& rgb) {
    if (smallestCoding_ && !grayMode_) {
        compressSmallest(rgb);
        return;
    }
    const std::ptrdiff_t step = rgb.rowStep();
    const int height = rgb.height();
    // Contiguous top-down rows go to the library in one call, others one by one; rows given
    // back as they are coded go in bands.
    const int rowsPerCall = consumeBitmap_ ? std::min(height, ReleasedBand) : step > 0 ? height : 1;
    int released = 0;
    std::vector<JSAMPROW> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        rows[static_cast<std::size_t>(y)] = const_cast<JSAMPROW>(rgb.scanLine(y));
    }

    JpegErrorManager errors;
    JpegCompressObject object(errors);
    JpegDestinationManager destination(*data_->Bytes);
    JpegProgressRelay relay(this);
    jpeg_compress_struct& cinfo = object.cinfo;
    errors.run([&] {
        object.create();
        destination.attach(&cinfo);
        relay.attach(reinterpret_cast<j_common_ptr>(&cinfo));
        cinfo.image_width = data_->HeaderWidth;
        cinfo.image_height = data_->HeaderHeight;
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_EXT_BGR; // the byte order of a 24-bit bitmap row
        jpeg_set_defaults(&cinfo);
        cinfo.dct_method = JDCT_FLOAT;
        jpeg_set_quality(&cinfo, quality_, TRUE);
        if (grayMode_) {
            data_->IsGray = true;
            jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
        }
        if (progressiveWrite_ || optimizedCoding_) {
            jpeg_simple_progression(&cinfo);
        }
        if (optimizedCoding_) {
            cinfo.optimize_coding = TRUE;
        }
        cinfo.write_JFIF_header = markers_.jfifHeader ? TRUE : FALSE;
        jpeg_start_compress(&cinfo, TRUE);
        markers_.writeTo(cinfo);
        while (cinfo.next_scanline < cinfo.image_height) {
            const int left = static_cast<int>(cinfo.image_height - cinfo.next_scanline);
            jpeg_write_scanlines(&cinfo, &rows[cinfo.next_scanline],
                                 static_cast<JDIMENSION>(std::min(rowsPerCall, left)));
            if (consumeBitmap_) {
                released = releaseCodedRows(rgb, released, static_cast<int>(cinfo.next_scanline));
            }
        }
        jpeg_finish_compress(&cinfo);
    });
}

int TJPEGImage::releaseCodedRows(const TBitmap& rgb, int from, int to) {
    if (to <= from) {
        return from;
    }
    // The library has taken these rows into buffers of its own: their memory may go back.
    const std::uint8_t* first = rgb.scanLine(from);
    const std::uint8_t* last = rgb.scanLine(to - 1);
    const std::uint8_t* begin = std::min(first, last);
    const std::uint8_t* end = std::max(first, last) + static_cast<std::ptrdiff_t>(rgb.width()) * 3;
    PixelMemory::discard(begin, static_cast<std::size_t>(end - begin));
    return to;
}

void TJPEGImage::compressSmallest(const TBitmap& rgb) {
    const JpegLookTables tables = JpegLookTables::forQuality(quality_);
    JpegErrorManager errors;
    JpegCompressObject object(errors);
    JpegDestinationManager destination(*data_->Bytes);
    JpegProgressRelay relay(this);
    JpegCoefficientWriter writer(object.cinfo, errors);
    jpeg_compress_struct& cinfo = object.cinfo;
    errors.run([&] {
        object.create();
        destination.attach(&cinfo);
        relay.attach(reinterpret_cast<j_common_ptr>(&cinfo));
        cinfo.image_width = data_->HeaderWidth;
        cinfo.image_height = data_->HeaderHeight;
        cinfo.write_JFIF_header = markers_.jfifHeader ? TRUE : FALSE;
        writer.begin(tables);
        markers_.writeTo(cinfo);
    });
    JpegLookCoder(rgb, tables).code(writer.planes(), [&](int done, int total) {
        writer.progress(done, total);
    });
    relay.setDoneBefore(CoefficientsShare);
    writer.finish();
}
