#pragma once

#include "imaging/metadata/PictureMetadata.h"

#include <QString>

class TBitmap;
class TJPEGImage;

// How the loaded file is read again by each operation after the load.
class SourceFile {
public:
    // Reads the file at `path` into `jpeg`: directly for a JPEG source, through `bitmap`
    // for a BMP one, the kind told by `extension`. Gives what the file says beside its
    // pixels, from the same reading.
    static PictureMetadata read(const QString& path, const QString& extension, TJPEGImage& jpeg,
                                TBitmap& bitmap);
    static PictureMetadata readJpeg(const QString& path, TJPEGImage& jpeg);
    static PictureMetadata readBitmap(const QString& path, TBitmap& bitmap);
};
