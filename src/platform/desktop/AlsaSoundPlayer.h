#pragma once

#include "platform/desktop/SoundPlayer.h"

// Plays through ALSA's default device, blocking until the last sample has been heard.
class AlsaSoundPlayer : public SoundPlayer {
public:
    void play(const QByteArray& wave) override;
};
