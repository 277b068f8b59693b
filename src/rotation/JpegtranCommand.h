#pragma once

#include <QString>
#include <QStringList>

// How the rotation tool is called: its program file in the installation folder, and one
// parameter text naming the picture and the tool's output, both quoted.
class JpegtranCommand {
public:
    // Path + "jpegtran".
    static QString program(const QString& installationFolder);
    // The tool's output, which it writes and the program then renames.
    static QString outputFile(const QString& installationFolder);
    static QString finishedFile(const QString& installationFolder);
    // "-rotate 90 [-trim ]\"<picture>\" \"<Path>tempo2_jpg.jpg\"".
    static QString parameters(bool trim, const QString& picture, const QString& installationFolder);
    // The parameter text as an argument list: split at blanks outside double quotes, the
    // quotes themselves dropped, so names with blanks stay whole.
    static QStringList arguments(const QString& parameters);
};
