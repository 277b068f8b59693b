#pragma once

#include <QString>
#include <QStringList>

// How the rotation tool is called: its program file in the installation folder, the option
// text, then the picture and the tool's output as two whole arguments, whatever characters
// their names hold.
class JpegtranCommand {
public:
    // Path + "jpegtran".
    static QString program(const QString& installationFolder);
    // "-rotate 90 -trim " or "-rotate 90 ".
    static QString options(bool trim);
    // The tool's output, which it writes in the turn's work folder and the program then
    // renames there.
    static QString outputFile(const QString& workFolder);
    static QString finishedFile(const QString& workFolder);
    // The option text split at its blanks, then the picture and the output.
    static QStringList arguments(bool trim, const QString& picture, const QString& output);
};
