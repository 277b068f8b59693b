#pragma once

#include <QString>

// What a file dialog is opened with. The filter is in the "description|patterns|..." form,
// patterns separated by ";".
struct FileDialogOptions {
    QString title;
    QString filter;
    QString defaultExtension; // added to a name typed without one, e.g. "jpg"
    QString fileName;         // proposed at opening
    bool overwritePrompt = false;
};
