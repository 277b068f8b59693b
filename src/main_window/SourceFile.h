#pragma once

#include <QString>

class TBitmap;
class TJPEGImage;

// How the loaded file is read: as JPEG when the extension of its name, upper-cased, is
// exactly ".JPG", and as a BMP file otherwise (".jpeg" included).
class SourceFile {
public:
    // The file name's part from its last dot, dot included, in the name's own letter case;
    // empty when the name has no dot. Dots in folder names do not count.
    static QString extension(const QString& path);
    static bool isJpeg(const QString& extension);

    // Reads the file at `path` into `jpeg`: directly for a JPEG source, through `bitmap`
    // for a BMP one. The picture read is left in `bitmap` or `jpeg` for the caller to show.
    static void read(const QString& path, const QString& extension, TJPEGImage& jpeg,
                     TBitmap& bitmap);
};
