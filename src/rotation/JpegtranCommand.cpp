#include "rotation/JpegtranCommand.h"

QString JpegtranCommand::program(const QString& installationFolder) {
    return installationFolder + "jpegtran";
}

QString JpegtranCommand::outputFile(const QString& installationFolder) {
    return installationFolder + "tempo2_jpg.jpg";
}

QString JpegtranCommand::finishedFile(const QString& installationFolder) {
    return installationFolder + "tempo3_jpg.jpg";
}

QString JpegtranCommand::parameters(bool trim, const QString& picture,
                                    const QString& installationFolder) {
    return QString(trim ? "-rotate 90 -trim " : "-rotate 90 ") + '"' + picture + "\" " + '"' +
           installationFolder + "tempo2_jpg.jpg" + '"';
}

QStringList JpegtranCommand::arguments(const QString& parameters) {
    QStringList result;
    QString current;
    bool quoted = false;
    bool started = false; // "" is an argument of its own, even empty
    for (const QChar character : parameters) {
        if (character == '"') {
            quoted = !quoted;
            started = true;
        } else if (character == ' ' && !quoted) {
            if (started) {
                result << current;
            }
            current.clear();
            started = false;
        } else {
            current += character;
            started = true;
        }
    }
    if (started) {
        result << current;
    }
    return result;
}
