#pragma once

#include "recompress/RecompressOptions.h"

#include <QString>

class FileOperations;
class PreparedPicture;

// Writes the loaded picture as a new JPEG file, encoded at the chosen quality exactly as the
// preview was, from the same prepared pixels, so the file holds the data whose size the
// preview showed. A progressive JPEG source gives a progressive file. The new file keeps the
// loaded file's colour profile and way up, and its other details when the options ask.
class PictureSaver {
public:
    // The picture as the window prepared it for its previews.
    static void save(FileOperations& files, const PreparedPicture& picture, int quality,
                     const QString& target, const RecompressOptions& options);
    // The file read and prepared again.
    static void save(FileOperations& files, const QString& source, const QString& sourceExtension,
                     int quality, const QString& target, const RecompressOptions& options);
    static void save(FileOperations& files, const QString& source, const QString& sourceExtension,
                     int quality, const QString& target, bool details = false) {
        save(files, source, sourceExtension, quality, target, RecompressOptions{details});
    }
};
