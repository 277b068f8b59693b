#include "recompress/DecodedSource.h"

#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/resample/ShrinkPicture.h"
#include "platform/FileOperations.h"
#include "recompress/SourceFile.h"

const PictureMetadata& DecodedSource::decodeInto(FileOperations& files, const QString& path,
                                                 const QString& extension, TJPEGImage& jpeg,
                                                 int longestSide) {
    // Taken before reading: a file changed while it is read is read again next time.
    const std::optional<FileIdentity> identity = files.identity(path);
    if (holds(path, extension, identity)) {
        jpeg.CopyFrom(&pixels_);
        jpeg.setProgressiveWrite(progressive_);
    } else {
        clear();
        TBitmap bitmap;
        PictureMetadata metadata = SourceFile::read(path, extension, jpeg, bitmap);
        keep(path, extension, identity, jpeg.Decode(), jpeg.ProgressiveWrite(),
             std::move(metadata));
    }
    shrinkInto(jpeg, longestSide);
    return metadata_;
}

bool DecodedSource::shrinkInto(TJPEGImage& jpeg, int longestSide) {
    shrunkGiven_ = false;
    if (longestSide <= 0 || pixels_.empty()) {
        return false;
    }
    if (shrunkSide_ != longestSide) {
        shrunk_.releaseImage();
        shrunkSide_ = 0;
        if (!ShrinkPicture::fromBitmap(pixels_, longestSide, shrunk_)) {
            shrunk_.releaseImage(); // within the side: the pixels serve as they are
        }
        shrunkSide_ = longestSide;
    }
    if (shrunk_.empty()) {
        return false;
    }
    jpeg.CopyFrom(&shrunk_); // the picture's options, its coding among them, stay as they are
    shrunkGiven_ = true;
    return true;
}

void DecodedSource::keep(const QString& path, const QString& extension,
                         const std::optional<FileIdentity>& identity, const TBitmap& pixels,
                         bool progressive, PictureMetadata metadata) {
    pixels_.CopyFrom(&pixels); // shares the pixels, copies nothing
    shrunk_.releaseImage();
    shrunkSide_ = 0;
    shrunkGiven_ = false;
    progressive_ = progressive;
    metadata_ = std::move(metadata);
    path_ = path;
    extension_ = extension;
    identity_ = identity;
}

void DecodedSource::clear() {
    identity_.reset();
    pixels_.releaseImage();
    metadata_ = {};
    shrunk_.releaseImage();
    shrunkSide_ = 0;
    shrunkGiven_ = false;
}

bool DecodedSource::holds(const QString& path, const QString& extension,
                          const std::optional<FileIdentity>& identity) const {
    return identity && identity_ && *identity == *identity_ && path == path_ &&
           extension == extension_ && !pixels_.empty();
}
