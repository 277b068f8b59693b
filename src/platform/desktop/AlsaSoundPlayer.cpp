#include "platform/desktop/AlsaSoundPlayer.h"

#include "platform/desktop/WaveImage.h"

#include <alsa/asoundlib.h>

namespace {

// ALSA reports a missing card on stderr by default; a machine without sound stays quiet.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

class PcmDevice {
public:
    PcmDevice() {
        snd_lib_error_set_handler(ignoreAlsaError);
        if (snd_pcm_open(&pcm_, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0) {
            pcm_ = nullptr;
        }
    }
    ~PcmDevice() {
        if (pcm_) {
            snd_pcm_close(pcm_);
        }
    }
    PcmDevice(const PcmDevice&) = delete;
    PcmDevice& operator=(const PcmDevice&) = delete;

    snd_pcm_t* handle() const { return pcm_; }

private:
    snd_pcm_t* pcm_ = nullptr;
};

void writeAll(snd_pcm_t* pcm, const WaveImage& wave) {
    const int frameBytes = wave.channels * wave.bitsPerSample / 8;
    const char* data = wave.samples.constData();
    snd_pcm_uframes_t left = static_cast<snd_pcm_uframes_t>(wave.samples.size() / frameBytes);
    while (left > 0) {
        snd_pcm_sframes_t written = snd_pcm_writei(pcm, data, left);
        if (written < 0) {
            written = snd_pcm_recover(pcm, static_cast<int>(written), 1);
            if (written < 0) {
                return; // the device went away: the rest of the sound is dropped
            }
            continue;
        }
        data += written * frameBytes;
        left -= static_cast<snd_pcm_uframes_t>(written);
    }
    snd_pcm_drain(pcm);
}

} // namespace

void AlsaSoundPlayer::play(const QByteArray& file) {
    const std::optional<WaveImage> wave = WaveImage::parse(file);
    if (!wave) {
        return;
    }
    PcmDevice device;
    if (!device.handle()) {
        return;
    }
    const snd_pcm_format_t format =
        wave->bitsPerSample == 16 ? SND_PCM_FORMAT_S16_LE : SND_PCM_FORMAT_U8;
    constexpr unsigned LatencyMicroseconds = 100000;
    if (snd_pcm_set_params(device.handle(), format, SND_PCM_ACCESS_RW_INTERLEAVED,
                           static_cast<unsigned>(wave->channels),
                           static_cast<unsigned>(wave->samplesPerSecond), 1,
                           LatencyMicroseconds) < 0) {
        return;
    }
    writeAll(device.handle(), *wave);
}
