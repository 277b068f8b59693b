#include "app/CommandLine.h"

#include <QDir>
#include <QFileInfo>

std::optional<QString> CommandLine::pictureFile(const QStringList& arguments) {
    if (arguments.size() < 2 || arguments[1].isEmpty()) {
        return std::nullopt;
    }
    // The window caption and the readouts show this path: no "./" or "../" in it.
    return QDir::cleanPath(QFileInfo(arguments[1]).absoluteFilePath());
}
