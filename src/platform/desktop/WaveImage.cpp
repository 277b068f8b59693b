#include "platform/desktop/WaveImage.h"

namespace {

std::uint32_t readUint32(const QByteArray& bytes, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData() + at);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

std::uint16_t readUint16(const QByteArray& bytes, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData() + at);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

constexpr std::uint16_t PcmFormat = 1;

} // namespace

std::optional<WaveImage> WaveImage::parse(const QByteArray& file) {
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE") {
        return std::nullopt;
    }
    WaveImage wave;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= file.size()) {
        const QByteArray id = file.mid(at, 4);
        const qint64 length = readUint32(file, at + 4);
        const qsizetype body = at + 8;
        if (length > file.size() - body) {
            return std::nullopt; // a chunk that runs past the end of the image
        }
        if (id == "fmt " && length >= 16) {
            if (readUint16(file, body) != PcmFormat) {
                return std::nullopt;
            }
            wave.channels = readUint16(file, body + 2);
            wave.samplesPerSecond = static_cast<int>(readUint32(file, body + 4));
            wave.bitsPerSample = readUint16(file, body + 14);
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            wave.samples = file.mid(body, length);
            const bool usable = wave.channels > 0 && wave.samplesPerSecond > 0 &&
                                (wave.bitsPerSample == 8 || wave.bitsPerSample == 16);
            return usable ? std::optional(wave) : std::nullopt;
        }
        at = body + length + (length & 1); // chunks are padded to an even length
    }
    return std::nullopt;
}
