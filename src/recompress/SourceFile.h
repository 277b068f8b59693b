#pragma once

#include "imaging/formats/PictureKind.h"
#include "imaging/formats/PictureReadOptions.h"
#include "imaging/metadata/PictureMetadata.h"

#include <QString>
#include <string>

class TBitmap;
class TJPEGImage;

// How the loaded file is read again by each operation after the load.
class SourceFile {
public:
    // Reads the file at `path` into `jpeg`: directly for a JPEG source, through `bitmap`
    // for any other kind. Gives what the file says beside its pixels, from the same reading,
    // and in `note` what a reader says of it beside its failures (an animation's first frame).
    static PictureMetadata read(const QString& path, PictureKind kind, TJPEGImage& jpeg,
                                TBitmap& bitmap, const PictureReadOptions& options = {},
                                std::string* note = nullptr);
    // The kind told by `extension`, as the window tells it.
    static PictureMetadata read(const QString& path, const QString& extension, TJPEGImage& jpeg,
                                TBitmap& bitmap);
    static PictureMetadata readJpeg(const QString& path, TJPEGImage& jpeg);
    static PictureMetadata readBitmap(const QString& path, TBitmap& bitmap);
    // PNG, WebP, TIFF and HEIF files, through their libraries.
    static PictureMetadata readOther(const QString& path, PictureKind kind, TBitmap& bitmap,
                                     const PictureReadOptions& options, std::string* note);
};
