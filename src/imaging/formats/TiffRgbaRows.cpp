#include "imaging/formats/TiffRgbaRows.h"

#include "core/EAbort.h"
#include "imaging/formats/PictureRows.h"
#include "imaging/formats/PremultipliedAlpha.h"
#include "imaging/formats/TiffHandle.h"
#include "imaging/formats/TiffLayout.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct EndImage {
    void operator()(TIFFRGBAImage* image) const { TIFFRGBAImageEnd(image); }
};

// A band reads each of its strips or tiles once.
std::uint32_t bandRows(const TiffLayout& layout) {
    const std::uint32_t rows = layout.tiled ? layout.tileLength : layout.rowsPerStrip;
    return std::clamp<std::uint32_t>(rows, 1, layout.height);
}

// libtiff's pixels (red in the low byte, alpha premultiplied) laid on the background.
void putBandRow(const std::uint32_t* raster, std::uint32_t background, int y, TBitmap& pixels,
                std::vector<std::uint8_t>& rgb) {
    for (std::size_t x = 0; x < rgb.size() / 3; ++x) {
        const std::uint32_t pixel = raster[x];
        std::uint8_t* out = rgb.data() + 3 * x;
        out[0] = static_cast<std::uint8_t>(TIFFGetR(pixel));
        out[1] = static_cast<std::uint8_t>(TIFFGetG(pixel));
        out[2] = static_cast<std::uint8_t>(TIFFGetB(pixel));
        PremultipliedAlpha::layOn(out, static_cast<std::uint8_t>(TIFFGetA(pixel)), background);
    }
    PictureRows::putRgb(pixels, y, rgb.data());
}

} // namespace

void TiffRgbaRows::read(const TiffHandle& handle, const TiffLayout& layout,
                        std::uint32_t background, const std::stop_token& stop, TBitmap& pixels) {
    char message[1024] = "";
    TIFFRGBAImage image{};
    if (!TIFFRGBAImageOK(handle.tiff(), message) ||
        !TIFFRGBAImageBegin(&image, handle.tiff(), 1, message)) {
        handle.fail(message);
    }
    const std::unique_ptr<TIFFRGBAImage, EndImage> end(&image);
    // The rows as stored: libtiff would otherwise turn some orientations over itself.
    image.req_orientation = image.orientation;
    const std::uint32_t band = bandRows(layout);
    TiffHandle::checkAllocation(std::uint64_t{layout.width} * band * 4, "a band of RGBA rows");
    const auto raster = std::make_unique_for_overwrite<std::uint32_t[]>(
        static_cast<std::size_t>(layout.width) * band);
    std::vector<std::uint8_t> rgb(std::size_t{layout.width} * 3);
    for (std::uint32_t top = 0; top < layout.height; top += band) {
        EAbort::raiseIfRequested(stop);
        const std::uint32_t rows = std::min(band, layout.height - top);
        image.row_offset = static_cast<int>(top);
        image.col_offset = 0;
        if (!TIFFRGBAImageGet(&image, raster.get(), layout.width, rows)) {
            handle.fail("its pixels cannot be converted");
        }
        for (std::uint32_t r = 0; r < rows; ++r) {
            putBandRow(raster.get() + std::size_t{layout.width} * r, background,
                       static_cast<int>(top + r), pixels, rgb);
        }
    }
}
