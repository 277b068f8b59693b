#pragma once

#include "platform/desktop/SoundPlayer.h"

#include <QList>

// A sound player for tests: it keeps what it was asked to play.
class RecordingSoundPlayer : public SoundPlayer {
public:
    QList<QByteArray> played;

    void play(const QByteArray& wave) override { played << wave; }
};
