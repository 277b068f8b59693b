#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>

// The PCM format and samples of a WAVE file image. Only uncompressed PCM is understood.
struct WaveImage {
    int channels = 0;
    int samplesPerSecond = 0;
    int bitsPerSample = 0;
    QByteArray samples;

    // Nothing when the image is not a RIFF WAVE file of uncompressed PCM with a data chunk.
    static std::optional<WaveImage> parse(const QByteArray& file);
};
