#include "recompress/PictureFileKind.h"

#include <QFile>

QString PictureFileKind::extension(const QString& path) {
    const QString name = path.mid(path.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? QString() : name.mid(dot);
}

bool PictureFileKind::isJpeg(const QString& extension) {
    return extension.toUpper() == ".JPG";
}

bool PictureFileKind::isWindowPicture(const QString& path) {
    const QString upper = extension(path).toUpper();
    return upper == ".JPG" || upper == ".BMP";
}

bool PictureFileKind::hasJpegName(const QString& path) {
    const QString upper = extension(path).toUpper();
    return upper == ".JPG" || upper == ".JPEG";
}

QString PictureFileKind::commandLineExtension(const QString& path) {
    return hasJpegName(path) ? QString(".jpg") : extension(path);
}

PictureKind PictureFileKind::windowKind(const QString& extension) {
    return isJpeg(extension) ? PictureKind::Jpeg : PictureKind::Bmp;
}

PictureKind PictureFileKind::commandLineKind(const QString& path) {
    const PictureKind kind = PictureSignature::ofFile(QFile::encodeName(path).toStdString());
    if (kind != PictureKind::Unknown) {
        return kind;
    }
    return hasJpegName(path) ? PictureKind::Jpeg : PictureKind::Bmp;
}
