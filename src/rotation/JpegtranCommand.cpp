#include "rotation/JpegtranCommand.h"

QString JpegtranCommand::program(const QString& installationFolder) {
    return installationFolder + "jpegtran";
}

QString JpegtranCommand::options(bool trim) {
    return trim ? "-rotate 90 -trim " : "-rotate 90 ";
}

QString JpegtranCommand::outputFile(const QString& workFolder) {
    return workFolder + "/tempo2_jpg.jpg";
}

QString JpegtranCommand::finishedFile(const QString& workFolder) {
    return workFolder + "/tempo3_jpg.jpg";
}

QStringList JpegtranCommand::arguments(bool trim, const QString& picture, const QString& output) {
    // Names are never split nor unquoted: a name may hold blanks and double quotes alike.
    return options(trim).split(' ', Qt::SkipEmptyParts) << picture << output;
}
