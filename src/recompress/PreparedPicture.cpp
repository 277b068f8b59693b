#include "recompress/PreparedPicture.h"

#include "core/EAbort.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/picture/AbortOnStop.h"
#include "imaging/resample/ResizeTarget.h"
#include "imaging/resample/ShrinkPicture.h"
#include "platform/FileOperations.h"
#include "recompress/JpegDecodeOptions.h"
#include "recompress/JpegEncoding.h"
#include "recompress/SourceFile.h"

namespace {

bool shrinks(PixelSize size, int longestSide) {
    return longestSide > 0 && size.width > 0 && size.height > 0 &&
           ResizeTarget::of(size, longestSide).resized;
}

} // namespace

void PreparedPicture::prepare(FileOperations& files, const QString& path, PictureKind kind,
                              const RecompressOptions& options, std::stop_token stop) {
    const int longestSide = options.longestSide;
    // Taken before reading: a file changed while it is read is read again next time.
    const std::optional<FileIdentity> identity = files.identity(path);
    if (!holds(path, kind, identity)) {
        clear();
    }
    if (!pixels_.empty() && side_ == longestSide) {
        return;
    }
    kind_ = kind;
    if (!full_.empty()) {
        shrinkKept(longestSide, stop);
    }
    if (pixels_.empty()) {
        readFile(path, options, stop);
    }
    path_ = path;
    identity_ = identity;
}

void PreparedPicture::read(const QString& path, PictureKind kind, const RecompressOptions& options,
                           std::stop_token stop) {
    clear();
    kind_ = kind;
    readFile(path, options, stop);
}

void PreparedPicture::shrinkKept(int longestSide, const std::stop_token& stop) {
    pixels_.releaseImage();
    shrunk_ = false;
    if (!shrinks({full_.width(), full_.height()}, longestSide)) {
        pixels_.CopyFrom(&full_); // shares the pixels, copies nothing
    } else if (kind_ != PictureKind::Jpeg) {
        shrunk_ = ShrinkPicture::fromBitmap(full_, longestSide, pixels_, stop);
    } else {
        return; // a JPEG is shrunk on its own road, from a reduced decode of its file
    }
    side_ = longestSide;
}

void PreparedPicture::readFile(const QString& path, const RecompressOptions& options,
                               const std::stop_token& stop) {
    const int longestSide = options.longestSide;
    TBitmap bitmap;
    TJPEGImage jpeg;
    jpeg.OnProgress = abortOnStop(stop);
    std::string note;
    PictureMetadata metadata =
        SourceFile::read(path, kind_, jpeg, bitmap, {options.background, stop}, &note);
    const bool progressive = jpeg.ProgressiveWrite();
    JpegDecodeOptions::forSource(jpeg);
    TBitmap pixels;
    bool shrunk = false;
    if (kind_ != PictureKind::Jpeg) {
        if (shrinks({bitmap.width(), bitmap.height()}, longestSide)) {
            shrunk = ShrinkPicture::fromBitmap(bitmap, longestSide, pixels, stop);
        } else {
            pixels.CopyFrom(&bitmap); // as read: the encoder takes every bitmap format
        }
    } else if (shrinks({jpeg.ImageWidth(), jpeg.ImageHeight()}, longestSide)) {
        shrunk = ShrinkPicture::fromJpeg(jpeg, longestSide, pixels, stop);
    } else {
        pixels.CopyFrom(&jpeg.Decode());
        EAbort::raiseIfRequested(stop); // a cut-short decode keeps the rows it had
    }
    if (!shrunk) {
        full_.CopyFrom(&pixels);
    }
    pixels_.CopyFrom(&pixels);
    shrunk_ = shrunk;
    side_ = longestSide;
    progressive_ = progressive;
    metadata_ = std::move(metadata);
    note_ = std::move(note);
}

void PreparedPicture::keepFullDecode(const QString& path, PictureKind kind,
                                     const std::optional<FileIdentity>& identity,
                                     const TBitmap& pixels, bool progressive,
                                     PictureMetadata metadata) {
    clear();
    if (pixels.empty() ||
        (kind == PictureKind::Jpeg && pixels.pixelFormat() != TPixelFormat::Bits24)) {
        return; // the first preparation reads the file itself
    }
    full_.CopyFrom(&pixels); // shares the pixels, copies nothing
    progressive_ = progressive;
    metadata_ = std::move(metadata);
    path_ = path;
    kind_ = kind;
    identity_ = identity;
}

void PreparedPicture::clear() {
    identity_.reset();
    metadata_ = {};
    note_.clear();
    full_.releaseImage();
    pixels_.releaseImage();
    side_ = -1;
    shrunk_ = false;
}

void PreparedPicture::readyToEncode(TJPEGImage& picture, const RecompressOptions& options) const {
    // Set first, since options that change decoded pixels let go of them: a new file is
    // coded in colour whatever the program's defaults for new pictures say.
    JpegDecodeOptions::forSource(picture);
    picture.CopyFrom(&pixels_);
    picture.setProgressiveWrite(progressive_);
    JpegEncoding::prepare(picture, metadata_, options);
}

bool PreparedPicture::holds(const QString& path, PictureKind kind,
                            const std::optional<FileIdentity>& identity) const {
    return identity && identity_ && *identity == *identity_ && path == path_ && kind == kind_ &&
           (!full_.empty() || !pixels_.empty());
}
