#!/usr/bin/env bash
# Makes the Ogg Vorbis files the audio tests read: plain tones of known length, encoded with
# oggenc (Debian's vorbis-tools). Run by hand from this folder; the output is committed.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work" <<'PYTHON'
import math, struct, sys, os
def write(path, seconds, channels, rate=44100):
    frames = int(seconds * rate)
    with open(path, "wb") as f:
        data = bytearray()
        for i in range(frames):
            for c in range(channels):
                value = 0.4 * math.sin(2 * math.pi * (330 + 110 * c) * i / rate)
                data += struct.pack("<h", int(value * 32767))
        f.write(b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE")
        f.write(b"fmt " + struct.pack("<IHHIIHH", 16, 1, channels, rate, rate * channels * 2, channels * 2, 16))
        f.write(b"data" + struct.pack("<I", len(data)) + data)
out = sys.argv[1]
write(os.path.join(out, "tone_10s_mono.wav"), 10, 1)
write(os.path.join(out, "tone_2s_mono.wav"), 2, 1)
write(os.path.join(out, "tone_1s_mono.wav"), 1, 1)
write(os.path.join(out, "tone_1s_stereo.wav"), 1, 2)
write(os.path.join(out, "tone_3ch.wav"), 0.25, 3)
PYTHON
for name in tone_10s_mono tone_2s_mono tone_1s_mono tone_1s_stereo tone_3ch; do
    oggenc --quiet -q -1 -o "$name.ogg" "$work/$name.wav"
done
