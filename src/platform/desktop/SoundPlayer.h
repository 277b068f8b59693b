#pragma once

#include <QByteArray>

// Plays a sound held in memory as a WAVE file image, synchronously: play() returns when the
// sound has finished. Where no sound device can be used it plays nothing and says nothing.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QByteArray& wave) = 0;
};
