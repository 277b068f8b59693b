#include "imaging/formats/TiffReader.h"

#include "core/EAbort.h"
#include "imaging/formats/ForeignMetadata.h"
#include "imaging/formats/PictureRows.h"
#include "imaging/formats/TiffHandle.h"
#include "imaging/formats/TiffLayout.h"
#include "imaging/formats/TiffRgbaRows.h"
#include "imaging/formats/TiffSampleConverter.h"
#include "imaging/formats/TiffStoredRows.h"

#include <memory>
#include <vector>

namespace {

void readAsStored(const TiffHandle& handle, const TiffLayout& layout,
                  const PictureReadOptions& options, TBitmap& pixels) {
    TiffStoredRows rows(handle, layout);
    const TiffSampleConverter converter(handle, layout, options.background);
    const auto converted =
        std::make_unique_for_overwrite<std::uint8_t[]>(std::size_t{layout.width} * 4);
    for (std::uint32_t y = 0; y < layout.height; ++y) {
        EAbort::raiseIfRequested(options.stop);
        converter.convert(rows.row(y), converted.get());
        if (converter.channels() == 4) {
            PictureRows::putRgba(pixels, static_cast<int>(y), converted.get(), options.background);
        } else {
            PictureRows::putRgb(pixels, static_cast<int>(y), converted.get());
        }
    }
}

// A field's bytes; empty when the directory has none.
std::vector<std::uint8_t> bytesOf(TIFF* tiff, ttag_t tag) {
    std::uint32_t count = 0;
    const std::uint8_t* bytes = nullptr;
    if (!TIFFGetField(tiff, tag, &count, &bytes) || !bytes) {
        return {};
    }
    return {bytes, bytes + count};
}

PictureMetadata metadataOf(TIFF* tiff) {
    PictureMetadata metadata;
    metadata.iccProfile = bytesOf(tiff, TIFFTAG_ICCPROFILE);
    const std::vector<std::uint8_t> xmp = bytesOf(tiff, TIFFTAG_XMLPACKET);
    if (!xmp.empty()) {
        ForeignMetadata::addXmp(xmp.data(), xmp.size(), metadata);
    }
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    if (TIFFGetField(tiff, TIFFTAG_ORIENTATION, &orientation) &&
        orientation >= ORIENTATION_TOPLEFT && orientation <= ORIENTATION_LEFTBOT) {
        metadata.orientation = orientation;
    }
    return metadata;
}

void decode(const TiffHandle& handle, const PictureReadOptions& options, DecodedPicture& out) {
    const TiffLayout layout = TiffLayout::of(handle.tiff());
    PictureRows::allocate(out.pixels, layout.width, layout.height, "TIFF");
    if (layout.readAsStored()) {
        readAsStored(handle, layout, options, out.pixels);
    } else {
        TiffRgbaRows::read(handle, layout, options.background, options.stop, out.pixels);
    }
    out.metadata = metadataOf(handle.tiff());
    if (!TIFFLastDirectory(handle.tiff())) {
        out.note = "only its first page was read";
    }
}

} // namespace

void TiffReader::read(const std::string& path, const PictureReadOptions& options,
                      DecodedPicture& out) {
    const TiffHandle handle(path);
    decode(handle, options, out);
}

void TiffReader::read(const std::uint8_t* bytes, std::size_t size,
                      const PictureReadOptions& options, DecodedPicture& out) {
    const TiffHandle handle(bytes, size);
    decode(handle, options, out);
}
