#include "imaging/formats/TiffLayout.h"

namespace {

TiffLayout::Alpha alphaOf(TIFF* tiff) {
    std::uint16_t count = 0;
    std::uint16_t* kinds = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &count, &kinds) || count == 0 || !kinds) {
        return TiffLayout::Alpha::None;
    }
    switch (kinds[0]) {
    case EXTRASAMPLE_UNASSALPHA:
        return TiffLayout::Alpha::Straight;
    case EXTRASAMPLE_ASSOCALPHA:
        return TiffLayout::Alpha::Premultiplied;
    default:
        return TiffLayout::Alpha::None;
    }
}

} // namespace

TiffLayout TiffLayout::of(TIFF* tiff) {
    TiffLayout layout;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &layout.width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &layout.height);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &layout.samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &layout.bits);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &layout.photometric);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &layout.planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &layout.sampleFormat);
    layout.alpha = alphaOf(tiff);
    layout.tiled = TIFFIsTiled(tiff);
    TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &layout.tileWidth);
    TIFFGetField(tiff, TIFFTAG_TILELENGTH, &layout.tileLength);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &layout.rowsPerStrip);
    if (layout.samples <= layout.colours()) {
        layout.alpha = Alpha::None; // the tag counts among the colours
    }
    return layout;
}

bool TiffLayout::readAsStored() const {
    if (sampleFormat != SAMPLEFORMAT_UINT || (planar != PLANARCONFIG_CONTIG && samples > 1)) {
        return false;
    }
    // A tile's first pixel must start a byte for its rows to be laid beside the others'.
    if (tiled &&
        (tileWidth == 0 || tileLength == 0 || std::uint64_t{tileWidth} * samples * bits % 8 != 0)) {
        return false;
    }
    // At most one extra sample, which is transparency or left out.
    return samples >= colours() && samples <= colours() + 1 && storedDepth();
}

bool TiffLayout::storedDepth() const {
    switch (photometric) {
    case PHOTOMETRIC_MINISBLACK:
    case PHOTOMETRIC_MINISWHITE:
        return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16;
    case PHOTOMETRIC_PALETTE:
        return samples == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
    case PHOTOMETRIC_RGB:
        return bits == 8 || bits == 16;
    default:
        return false;
    }
}
