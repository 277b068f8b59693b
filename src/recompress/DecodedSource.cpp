#include "recompress/DecodedSource.h"

#include "imaging/jpeg/TJPEGImage.h"
#include "platform/FileOperations.h"
#include "recompress/SourceFile.h"

const PictureMetadata& DecodedSource::decodeInto(FileOperations& files, const QString& path,
                                                 const QString& extension, TJPEGImage& jpeg) {
    // Taken before reading: a file changed while it is read is read again next time.
    const std::optional<FileIdentity> identity = files.identity(path);
    if (holds(path, extension, identity)) {
        jpeg.CopyFrom(&pixels_);
        jpeg.setProgressiveWrite(progressive_);
        return metadata_;
    }
    clear();
    TBitmap bitmap;
    PictureMetadata metadata = SourceFile::read(path, extension, jpeg, bitmap);
    keep(path, extension, identity, jpeg.Decode(), jpeg.ProgressiveWrite(), std::move(metadata));
    return metadata_;
}

void DecodedSource::keep(const QString& path, const QString& extension,
                         const std::optional<FileIdentity>& identity, const TBitmap& pixels,
                         bool progressive, PictureMetadata metadata) {
    pixels_.CopyFrom(&pixels); // shares the pixels, copies nothing
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
}

bool DecodedSource::holds(const QString& path, const QString& extension,
                          const std::optional<FileIdentity>& identity) const {
    return identity && identity_ && *identity == *identity_ && path == path_ &&
           extension == extension_ && !pixels_.empty();
}
