#pragma once

#include <QByteArray>

// The chime played when a picture has been loaded: a WAVE file image built into the program.
class LoadSound {
public:
    static const QByteArray& wave();
};
