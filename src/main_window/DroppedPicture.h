#pragma once

#include <QString>
#include <optional>

class QMimeData;

// What a drop on the main window brings: one local file named as a BMP or JPEG picture
// (".bmp", ".jpg" or ".jpeg", in any letter case). Several files, folders, texts and
// other kinds of files bring nothing.
class DroppedPicture {
public:
    static std::optional<QString> file(const QMimeData* data);
};
