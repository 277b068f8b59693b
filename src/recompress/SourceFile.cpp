#include "recompress/SourceFile.h"

#include "core/TFileStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/metadata/MetadataReader.h"
#include "recompress/PictureFileKind.h"

PictureMetadata SourceFile::read(const QString& path, const QString& extension, TJPEGImage& jpeg,
                                 TBitmap& bitmap) {
    if (PictureFileKind::isJpeg(extension)) {
        return readJpeg(path, jpeg);
    }
    PictureMetadata metadata = readBitmap(path, bitmap);
    jpeg.CopyFrom(&bitmap);
    return metadata;
}

PictureMetadata SourceFile::readJpeg(const QString& path, TJPEGImage& jpeg) {
    jpeg.ReadFromFile(path.toStdString());
    TMemoryStream& bytes = *jpeg.data().Bytes;
    return MetadataReader::fromJpeg(bytes.memory(), static_cast<std::size_t>(bytes.size()));
}

PictureMetadata SourceFile::readBitmap(const QString& path, TBitmap& bitmap) {
    // One opening for the pixels and the profile, so both come from the same file.
    TFileStream file(path.toStdString(), TFileStream::Mode::OpenRead);
    bitmap.ReadFromStream(file);
    return MetadataReader::fromBmp(file);
}
