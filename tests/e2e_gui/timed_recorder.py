#!/usr/bin/env python3
# A recorder that notes when each piece of what it hears arrives: reads raw 16-bit mono 48 kHz
# sound on stdin (from parec) and writes it as a WAV file, and beside it one line per read: the
# wall-clock time of the read (seconds) and how many frames had arrived by then. A sink renders
# its sound ahead of its clock by at most its latency, and hands each block to its monitor as it
# renders it, so the line tells, to a few milliseconds, when a frame was mixed.
# Usage: parec --raw ... | timed_recorder.py OUT.wav OUT.times; ends at the end of its input.
import os
import signal
import struct
import sys
import time

RATE = 48000


def header(frames):
    data = frames * 2
    return (b"RIFF" + struct.pack("<I", 36 + data) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16) + b"data" +
            struct.pack("<I", data))


def main():
    wav_path, times_path = sys.argv[1], sys.argv[2]
    signal.signal(signal.SIGTERM, signal.SIG_IGN)  # the end of the pipe ends it, whole
    received = 0
    with open(wav_path, "wb") as wav, open(times_path, "w") as times:
        wav.write(header(0))
        while True:
            chunk = os.read(0, 4096)
            if not chunk:
                break
            stamp = time.time()
            wav.write(chunk)
            received += len(chunk)
            times.write(f"{stamp:.6f} {received // 2}\n")
        wav.seek(0)
        wav.write(header(received // 2))


if __name__ == "__main__":
    main()
