#include "recompress/SourceFile.h"

#include "core/TFileStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/formats/DecodedPicture.h"
#include "imaging/formats/HeifReader.h"
#include "imaging/formats/PngReader.h"
#include "imaging/formats/TiffReader.h"
#include "imaging/formats/WebpReader.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/metadata/MetadataReader.h"
#include "recompress/PictureFileKind.h"

#include <QFile>
#include <stdexcept>

PictureMetadata SourceFile::read(const QString& path, PictureKind kind, TJPEGImage& jpeg,
                                 TBitmap& bitmap, const PictureReadOptions& options,
                                 std::string* note) {
    if (kind == PictureKind::Jpeg) {
        return readJpeg(path, jpeg);
    }
    PictureMetadata metadata = kind == PictureKind::Bmp
                                   ? readBitmap(path, bitmap)
                                   : readOther(path, kind, bitmap, options, note);
    jpeg.CopyFrom(&bitmap);
    return metadata;
}

PictureMetadata SourceFile::read(const QString& path, const QString& extension, TJPEGImage& jpeg,
                                 TBitmap& bitmap) {
    return read(path, PictureFileKind::windowKind(extension), jpeg, bitmap);
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

PictureMetadata SourceFile::readOther(const QString& path, PictureKind kind, TBitmap& bitmap,
                                      const PictureReadOptions& options, std::string* note) {
    const std::string name = path.toStdString();
    DecodedPicture decoded;
    switch (kind) {
    case PictureKind::Png:
        PngReader::read(name, options, decoded);
        break;
    case PictureKind::WebP:
        WebpReader::read(name, options, decoded);
        break;
    case PictureKind::Tiff:
        TiffReader::read(name, options, decoded);
        break;
    case PictureKind::Heif:
        HeifReader::read(name, options, decoded);
        break;
    default:
        throw std::invalid_argument("not a kind read through a library");
    }
    bitmap.CopyFrom(&decoded.pixels);
    if (note) {
        *note = decoded.note;
    }
    return decoded.metadata;
}
