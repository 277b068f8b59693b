#pragma once

#include <QString>

// How the program tells a JPEG file from a BMP file: by the extension of its name alone.
// In the window, a name whose extension, upper-cased, is exactly ".JPG" is JPEG; every other
// is BMP, ".jpeg" included. The command line also reads ".jpeg" names as JPEG, as users of a
// command-line tool expect.
class PictureFileKind {
public:
    // The file name's part from its last dot, dot included, in the name's own letter case;
    // empty when the name has no dot. Dots in folder names do not count.
    static QString extension(const QString& path);
    static bool isJpeg(const QString& extension);
    // A name the window's load dialog lists as a picture: ".jpg" or ".bmp", in any letter
    // case, each then read by isJpeg.
    static bool isWindowPicture(const QString& path);

    // ".jpg" and ".jpeg" names, in any letter case.
    static bool hasJpegName(const QString& path);
    // The extension the command line reads `path` by: ".jpg" for a JPEG name, its own
    // otherwise.
    static QString commandLineExtension(const QString& path);
};
