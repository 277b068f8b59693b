#include "main_window/SourceFile.h"

#include "imaging/TBitmap.h"
#include "imaging/TJPEGImage.h"

QString SourceFile::extension(const QString& path) {
    const QString name = path.mid(path.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? QString() : name.mid(dot);
}

bool SourceFile::isJpeg(const QString& extension) {
    return extension.toUpper() == ".JPG";
}

void SourceFile::read(const QString& path, const QString& extension, TJPEGImage& jpeg,
                      TBitmap& bitmap) {
    if (isJpeg(extension)) {
        jpeg.ReadFromFile(path.toStdString());
    } else {
        bitmap.ReadFromFile(path.toStdString());
        jpeg.CopyFrom(&bitmap);
    }
}
