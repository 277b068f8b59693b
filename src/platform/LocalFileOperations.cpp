#include "platform/LocalFileOperations.h"

#include <QFile>

std::optional<qint64> LocalFileOperations::fileSize(const QString& path) {
    // Measured through an open handle, so a file that exists but cannot be read has no size.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.size();
}
