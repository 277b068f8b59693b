#pragma once

#include <QString>
#include <optional>

class QMimeData;

// What a drop on the main window brings: one local file named as the load button's dialog
// lists pictures (".bmp" or ".jpg", in any letter case), then read by the same rule. Several
// files, folders, texts and other kinds of files bring nothing.
class DroppedPicture {
public:
    static std::optional<QString> file(const QMimeData* data);
};
