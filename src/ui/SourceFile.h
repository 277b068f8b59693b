#pragma once

#include <QString>

class TBitmap;
class TJPEGImage;

// How the loaded file is read again by each operation after the load.
class SourceFile {
public:
    // Reads the file at `path` into `jpeg`: directly for a JPEG source, through `bitmap`
    // for a BMP one, the kind told by `extension`.
    static void read(const QString& path, const QString& extension, TJPEGImage& jpeg,
                     TBitmap& bitmap);
};
