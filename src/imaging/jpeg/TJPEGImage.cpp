#include "imaging/jpeg/TJPEGImage.h"

#include "core/TStream.h"
#include "imaging/jpeg/JpegDecompressObject.h"
#include "imaging/jpeg/JpegSourceManager.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGDefaults.h"
#include "imaging/picture/EInvalidGraphicOperation.h"
#include "imaging/picture/TPictureFormats.h"

TJPEGImage::TJPEGImage() : data_(TJPEGData::create()) {
    const TJPEGDefaults& defaults = TJPEGDefaults::current();
    blockSmoothing_ = defaults.BlockSmoothing;
    grayMode_ = defaults.GrayMode;
    decodeDepth_ = defaults.DecodeDepth;
    quality_ = defaults.Quality;
    progressiveRead_ = defaults.ProgressiveRead;
    progressiveWrite_ = defaults.ProgressiveWrite;
    decodeSpeed_ = defaults.DecodeSpeed;
    decodeScale_ = defaults.DecodeScale;
}

TJPEGImage::~TJPEGImage() {
    data_->release();
}

bool TJPEGImage::empty() const {
    return !data_->Bytes && (!bitmap_ || bitmap_->empty());
}

void TJPEGImage::setWidth(int) {
    throw EInvalidGraphicOperation("Impossible de modifier la taille d'une image JPEG");
}

void TJPEGImage::setHeight(int) {
    throw EInvalidGraphicOperation("Impossible de modifier la taille d'une image JPEG");
}

void TJPEGImage::replaceData(TJPEGData* data) {
    data_->release();
    data_ = data;
    needsRescale_ = true; // new bytes may have another scaled size
}

void TJPEGImage::discardBitmap() {
    bitmap_.reset();
}

void TJPEGImage::ReadFromStream(TStream& stream) {
    const std::int64_t count = std::max<std::int64_t>(0, stream.remaining());
    replaceData(TJPEGData::create());
    discardBitmap();
    data_->Bytes = std::make_unique<TMemoryStream>();
    data_->Bytes->setSize(count);
    stream.readBuffer(data_->Bytes->memory(), static_cast<std::size_t>(count));
    if (count > 0) {
        readHeader();
    }
    paletteChanged_ = true;
    changed();
}

void TJPEGImage::readHeader() {
    JpegErrorManager errors;
    JpegDecompressObject object(errors);
    data_->Bytes->setPosition(0);
    JpegSourceManager source(*data_->Bytes);
    jpeg_decompress_struct& cinfo = object.cinfo;
    errors.run([&] {
        object.create();
        source.attach(&cinfo);
        jpeg_read_header(&cinfo, TRUE);
    });
    data_->HeaderWidth = cinfo.image_width;
    data_->HeaderHeight = cinfo.image_height;
    data_->IsGray = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    progressiveWrite_ = jpeg_has_multiple_scans(&cinfo);
}

void TJPEGImage::WriteToStream(TStream& stream) {
    EnsureEncoded();
    TMemoryStream& bytes = *data_->Bytes;
    if (bytes.size() > 0) {
        stream.writeBuffer(bytes.memory(), static_cast<std::size_t>(bytes.size()));
    }
}

void TJPEGImage::EnsureEncoded() {
    if (!data_->Bytes) {
        Encode();
    }
}

void TJPEGImage::CopyFrom(const TGraphic* source) {
    if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(source)) {
        if (jpeg == this) {
            return;
        }
        jpeg->data_->reference();
        replaceData(jpeg->data_);
        discardBitmap();
        if (jpeg->bitmap_) {
            bitmap_ = std::make_unique<TBitmap>();
            bitmap_->CopyFrom(jpeg->bitmap_.get());
        }
        return;
    }
    replaceData(TJPEGData::create());
    discardBitmap();
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        bitmap_ = std::make_unique<TBitmap>();
        bitmap_->CopyFrom(bitmap);
    }
}

std::unique_ptr<TGraphic> TJPEGImage::createEmpty() const {
    return std::make_unique<TJPEGImage>();
}

const TBitmap* TJPEGImage::drawingBitmap() {
    if (empty()) {
        return nullptr;
    }
    return &Decode();
}

void TJPEGImage::copyToBitmap(TBitmap& target) {
    target.CopyFrom(&Decode());
}

void TJPEGImage::optionChanged(bool paletteChanged) {
    discardBitmap();
    if (paletteChanged) {
        paletteChanged_ = true;
    }
    changed();
}

namespace {

// True when the value differed and was taken.
template <typename T> bool assignChanged(T& field, T value) {
    if (field == value) {
        return false;
    }
    field = value;
    return true;
}

} // namespace

void TJPEGImage::setGrayMode(bool grayMode) {
    if (assignChanged(grayMode_, grayMode)) {
        optionChanged(true);
    }
}

void TJPEGImage::setDecodeSpeed(TJPEGDecodeSpeed speed) {
    if (assignChanged(decodeSpeed_, speed)) {
        optionChanged(true);
    }
}

void TJPEGImage::setDecodeDepth(TJPEGDecodeDepth depth) {
    if (assignChanged(decodeDepth_, depth)) {
        optionChanged(true);
    }
}

void TJPEGImage::setBlockSmoothing(bool smoothing) {
    if (assignChanged(blockSmoothing_, smoothing)) {
        optionChanged(false);
    }
}

void TJPEGImage::setDecodeScale(TJPEGDecodeScale scale) {
    if (assignChanged(decodeScale_, scale)) {
        needsRescale_ = true;
        optionChanged(false);
    }
}

void TJPEGImage::setDisplayPalette(std::optional<std::vector<TPaletteEntry>> palette) {
    if (bitmap_ && palette && bitmap_->palette() != *palette) {
        discardBitmap();
    }
    displayPalette_ = std::move(palette);
}

void TJPEGImage::relayProgress(TProgressStage stage, std::uint8_t percentDone, bool redrawNow,
                               const TRect& r) {
    progress(stage, percentDone, redrawNow, r, std::string());
}

void TJPEGImage::report(TProgressStage stage, std::uint8_t percentDone, bool redrawNow) {
    progress(stage, percentDone, redrawNow, TRect{}, std::string());
}

int TJPEGImage::ImageWidth() const {
    if (bitmap_) {
        return bitmap_->width();
    }
    if (decodeScale_ == TJPEGDecodeScale::Full) {
        return static_cast<int>(data_->HeaderWidth);
    }
    computeScaledSize();
    return static_cast<int>(scaledWidth_);
}

int TJPEGImage::ImageHeight() const {
    if (bitmap_) {
        return bitmap_->height();
    }
    if (decodeScale_ == TJPEGDecodeScale::Full) {
        return static_cast<int>(data_->HeaderHeight);
    }
    computeScaledSize();
    return static_cast<int>(scaledHeight_);
}

void registerJpegFormat() {
    TPictureFormats& formats = TPictureFormats::instance();
    if (formats.contains("jpg")) {
        return;
    }
    for (const char* extension : {"jpeg", "jpg"}) {
        formats.add(extension, "Fichier image JPEG", [] { return std::make_unique<TJPEGImage>(); });
    }
}
