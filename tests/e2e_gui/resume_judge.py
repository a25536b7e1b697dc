#!/usr/bin/env python3
# Judges the click after a sound server that was stopped goes on, from a timed recording
# (timed_recorder.py) made on its null sink.
# Usage: resume_judge.py ONSETS TIMES RESUMED PERIOD_FRAMES
#   ONSETS:  onset-analyse's output for the timed recording; TIMES: the recorder's arrival lines;
#   RESUMED: the wall-clock time (seconds) at which the server was let go on.
# A null sink that was stopped catches up when it goes on: it mixes the time it missed as fast as
# it can, so what it records then is not in time, and a click in that stretch lands where the
# catching up happened to be. So the first click after the resume is judged by when it arrived
# (at once: within a period), and the intervals only from where the sink keeps time again, to the
# frame (one of them may be a frame off, as a busy machine may displace a click). Exits 1 on a
# fault, 2 when it cannot judge.
import sys

RATE = 48000


def main():
    onsets_path, times_path = sys.argv[1], sys.argv[2]
    resumed = float(sys.argv[3])
    period = int(sys.argv[4])
    clicks = [int(f[1]) for f in (line.split() for line in open(onsets_path))
              if f and f[0] == "onset"]
    arrivals = [tuple(map(float, line.split())) for line in open(times_path) if line.strip()]
    after = [(t, int(n)) for t, n in arrivals if t >= resumed]
    if len(after) < 10:
        print("cannot judge: the recorder heard nothing after the resume")
        return 2
    # How far each arrival is ahead of the wall clock, in frames: steady while the sink keeps
    # time, rising while it catches up. It keeps time from the first arrival after which it rises
    # by no more than 50 ms.
    ahead = [n - t * RATE for t, n in after]
    most = ahead[-1]
    steady = len(after) - 1
    for i in range(len(after) - 1, -1, -1):
        most = max(most, ahead[i])
        if ahead[i] < most - RATE // 20:
            break
        steady = i
    caught_up = after[steady][1]
    caught_at = after[steady][0] - resumed
    first_frame = after[0][1]  # the first frame that arrived after the resume
    heard = [c for c in clicks if c >= first_frame - RATE // 10]
    if len(heard) < 5:
        print(f"cannot judge: {len(heard)} clicks after the resume")
        return 2

    def arrival(frame):
        for t, n in after:
            if n > frame:
                return t
        return after[-1][0]

    first_delay = arrival(heard[0]) - resumed
    in_catch_up = [c for c in heard if c < caught_up]
    kept = [c for c in heard if c >= caught_up]
    intervals = [b - a for a, b in zip(kept, kept[1:])]
    print(f"the sink caught up {caught_at * 1000:.0f} ms after the resume; the first click arrived "
          f"{first_delay * 1000:.0f} ms after it; {len(in_catch_up)} click(s) while catching up; "
          f"then intervals (frames): {' '.join(map(str, intervals))}")
    faults = []
    if first_delay > period / RATE + 0.1:
        faults.append(f"the first click came {first_delay * 1000:.0f} ms after the resume")
    if len(in_catch_up) > 1:
        faults.append(f"{len(in_catch_up)} clicks while the sink caught up, where one at most")
    off = [i for i in intervals if abs(i - period) > 1]
    if len(off) > 1 or any(abs(i - period) > 48 for i in off):
        faults.append(f"intervals of {' '.join(map(str, off))} frames")
    if len(intervals) < 6:
        faults.append(f"only {len(intervals) + 1} clicks after the sink caught up")
    if faults:
        print("; ".join(faults))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
