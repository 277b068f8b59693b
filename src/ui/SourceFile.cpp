#include "ui/SourceFile.h"

#include "imaging/TBitmap.h"
#include "imaging/TJPEGImage.h"
#include "ui/PictureFileKind.h"

void SourceFile::read(const QString& path, const QString& extension, TJPEGImage& jpeg,
                      TBitmap& bitmap) {
    if (PictureFileKind::isJpeg(extension)) {
        jpeg.ReadFromFile(path.toStdString());
    } else {
        bitmap.ReadFromFile(path.toStdString());
        jpeg.CopyFrom(&bitmap);
    }
}
