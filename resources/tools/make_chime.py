#!/usr/bin/env python3
"""Writes the load chime, wavOru1.wav: two soft bell notes a major third apart.

Uncompressed PCM, one channel, 22,050 samples a second, 16 bits, exactly 24,472 samples
(48,944 bytes, about 1.1 s). Run it from anywhere; it writes beside the resources folder.
"""
import math
import os
import struct
import wave

RATE = 22050
SAMPLES = 24472
PEAK = 0.45  # of full scale: a chime, not an alarm

# (start in seconds, fundamental in hertz, loudness)
NOTES = [(0.00, 1046.50, 1.0), (0.14, 1318.51, 0.85)]
# A bell's partials: (multiple of the fundamental, loudness, decay per second)
PARTIALS = [(1.0, 1.0, 3.2), (2.0, 0.32, 5.5), (3.01, 0.12, 8.0), (4.2, 0.05, 11.0)]
ATTACK = 0.004  # seconds: a ramp so the note starts without a click
FADE = 0.08     # seconds: the last stretch goes down to silence


def note_sample(t, frequency, loudness):
    if t < 0:
        return 0.0
    ramp = min(1.0, t / ATTACK)
    value = 0.0
    for multiple, level, decay in PARTIALS:
        value += level * math.exp(-decay * t) * math.sin(2 * math.pi * frequency * multiple * t)
    return loudness * ramp * value


def chime():
    raw = []
    for n in range(SAMPLES):
        t = n / RATE
        value = sum(note_sample(t - start, f, level) for start, f, level in NOTES)
        remaining = (SAMPLES - 1 - n) / RATE
        raw.append(value * min(1.0, remaining / FADE))
    scale = PEAK / max(abs(v) for v in raw)
    return [round(v * scale * 32767) for v in raw]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = os.path.join(here, "..", "wavOru1.wav")
    with wave.open(target, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(struct.pack("<%dh" % SAMPLES, *chime()))


if __name__ == "__main__":
    main()
