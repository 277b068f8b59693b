#pragma once

#include <QString>

// How the program tells a JPEG file from a BMP file: by the extension of its name alone.
// A name whose extension, upper-cased, is exactly ".JPG" is JPEG; every other is BMP,
// ".jpeg" included.
class PictureFileKind {
public:
    // The file name's part from its last dot, dot included, in the name's own letter case;
    // empty when the name has no dot. Dots in folder names do not count.
    static QString extension(const QString& path);
    static bool isJpeg(const QString& extension);
};
