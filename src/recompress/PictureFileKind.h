#pragma once

#include "imaging/formats/PictureKind.h"

#include <QString>

// How the program tells the kind of a picture file. The window goes by the extension of its
// name alone: a name whose extension, upper-cased, is exactly ".JPG" is JPEG; every other is
// BMP, ".jpeg" included. The command line goes by the file's first bytes, and reads PNG,
// WebP, TIFF and HEIF files too; by their names, it also reads ".jpeg" files as JPEG, as users
// of a command-line tool expect.
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

    // The kind the window reads a file of this extension as: JPEG or BMP.
    static PictureKind windowKind(const QString& extension);
    // The kind the command line reads the file at `path` as: what its first bytes say, and
    // for bytes of no kind known here, what its name says (JPEG or BMP), so their reader
    // tells what is wrong with them.
    static PictureKind commandLineKind(const QString& path);
};
