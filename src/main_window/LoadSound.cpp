#include "main_window/LoadSound.h"

#include <QFile>

const QByteArray& LoadSound::wave() {
    static const QByteArray image = [] {
        QFile resource(":/wavOru1.wav");
        return resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
    }();
    return image;
}
