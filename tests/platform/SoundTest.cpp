#include "platform/desktop/AlsaSoundPlayer.h"
#include "platform/desktop/WaveImage.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

QByteArray little(quint32 value, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i) {
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    return out;
}

// A WAVE file image with an extra chunk of odd length before the samples.
QByteArray waveFile(quint16 format, quint16 channels, quint16 bits, const QByteArray& samples) {
    QByteArray fmt = little(format, 2) + little(channels, 2) + little(22050, 4) +
                     little(22050 * channels * bits / 8, 4) + little(channels * bits / 8, 2) +
                     little(bits, 2);
    QByteArray body = "WAVE" + QByteArray("fmt ") + little(16, 4) + fmt + "LIST" + little(3, 4) +
                      "abc" + '\0' + "data" + little(samples.size(), 4) + samples;
    return "RIFF" + little(body.size(), 4) + body;
}

} // namespace

TEST(WaveImage, ReadsPcmFormatAndSamplesPastOtherChunks) {
    const std::optional<WaveImage> wave = WaveImage::parse(waveFile(1, 2, 16, "12345678"));
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->channels, 2);
    EXPECT_EQ(wave->samplesPerSecond, 22050);
    EXPECT_EQ(wave->bitsPerSample, 16);
    EXPECT_EQ(wave->samples, "12345678");
}

TEST(WaveImage, RefusesWhatItCannotPlay) {
    QByteArray truncated = waveFile(1, 1, 16, "1234");
    truncated.chop(2); // the data chunk runs past the end
    for (const QByteArray& file :
         {QByteArray(), QByteArray("RIFF0000AVI LIST"), waveFile(2, 1, 16, "1234"),
          waveFile(1, 1, 24, "123456"), waveFile(1, 0, 16, "1234"), truncated}) {
        EXPECT_FALSE(WaveImage::parse(file)) << file.toHex().toStdString();
    }
}

TEST(AlsaSoundPlayer, SomethingThatIsNoSoundPlaysNothingAtOnce) {
    AlsaSoundPlayer player;
    const auto start = std::chrono::steady_clock::now();
    player.play("not a wave file");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
}
