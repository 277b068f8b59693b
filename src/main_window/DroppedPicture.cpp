#include "main_window/DroppedPicture.h"

#include "recompress/PictureFileKind.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

std::optional<QString> DroppedPicture::file(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) {
        return std::nullopt;
    }
    const QUrl url = data->urls().first();
    if (!url.isLocalFile() || QFileInfo(url.toLocalFile()).isDir()) {
        return std::nullopt;
    }
    const QString path = url.toLocalFile();
    if (!PictureFileKind::isWindowPicture(path)) {
        return std::nullopt;
    }
    return path;
}
