#!/usr/bin/env python3
# Judges how soon a move of the volume slider reaches the clicks, from a timed recording
# (timed_recorder.py) of a steady click and the wall-clock times of the moves.
# Usage: volume_lag.py ONSETS TIMES MOVES PERIOD_FRAMES LIMIT_MS
#   ONSETS: onset-analyse's output for the timed recording;
#   TIMES:  the recorder's "seconds frames" arrival lines;
#   MOVES:  one "before after mute|full" line per move, in order: the key went out between the
#           two times (seconds).
# Every click on the grid (the clicks heard, and those the muted stretches leave out) is placed in
# wall-clock time by when the recorder received it, and judged against the last move before it:
# loud after "full", silent after "mute". A click with the old volume later than LIMIT_MS after
# the move (after the later of its two times) fails; a click heard as the next key went out is
# judged against neither. Prints the figures; exits 1 on a failure, 2 when it cannot judge.
import bisect
import sys

# How far the key's time and the recorder's may disagree: a click heard this little before a move
# is judged against neither move.
SLACK = 0.005


def main():
    onsets_path, times_path, moves_path = sys.argv[1:4]
    period = int(sys.argv[4])
    limit = float(sys.argv[5]) / 1000.0
    onsets = []
    for line in open(onsets_path):
        f = line.split()
        if f and f[0] == "onset":
            onsets.append((int(f[1]), float(f[3])))
    arrivals = [tuple(map(float, line.split())) for line in open(times_path) if line.strip()]
    moves = [(float(f[1]), f[2], float(f[0])) for f in (line.split() for line in open(moves_path))
             if f]
    if len(onsets) < 5 or not arrivals or not moves:
        print(f"cannot judge: {len(onsets)} clicks heard, {len(moves)} moves")
        return 2
    arrived_frames = [a[1] for a in arrivals]
    end_frame = int(arrived_frames[-1])

    def arrival(frame):
        i = bisect.bisect_right(arrived_frames, frame)
        return arrivals[i][0] if i < len(arrivals) else None

    # The grid: the heard clicks, and between and after them the clicks that were silent.
    # Each click heard puts the grid right again: what is judged here is loudness, not time, and
    # a recorder this quick may lose a server period now and then.
    tolerance = period // 4
    grid = []
    for (a, _), (b, _) in zip(onsets, onsets[1:]):
        steps = max(1, round((b - a) / period))
        grid.extend(a + j * (b - a) // steps for j in range(steps))
    last = onsets[-1][0]
    while last < end_frame - tolerance:
        grid.append(last)
        last += period
    heard = [o[0] for o in onsets]

    def loud(frame):
        i = bisect.bisect_left(heard, frame - tolerance)
        return i < len(heard) and abs(heard[i] - frame) <= tolerance

    worst_old = None  # the latest click with the old volume, seconds after its move
    first_new = None  # the earliest click with the new volume
    failures = []
    judged = 0
    times = [m[0] for m in moves]
    for frame in grid:
        at = arrival(frame)
        if at is None:
            continue
        i = bisect.bisect_right(times, at) - 1
        if i + 1 < len(moves) and at >= moves[i + 1][2] - SLACK:
            continue  # as the next key went out, as near as the two clocks can tell
        if i < 0:
            continue  # before the first move
        moved_at, kind, _ = moves[i]
        delay = at - moved_at
        judged += 1
        if loud(frame) == (kind == "full"):
            first_new = delay if first_new is None else min(first_new, delay)
            continue
        worst_old = delay if worst_old is None else max(worst_old, delay)
        if delay > limit:
            failures.append(f"{'loud' if kind == 'mute' else 'silent'} {delay * 1000:.1f} ms "
                            f"after move {i + 1} ({kind})")
    old = ("never heard after a move" if worst_old is None else
           f"heard until {worst_old * 1000:.1f} ms after a move")
    new = "never" if first_new is None else f"from {first_new * 1000:.1f} ms"
    print(f"{len(moves)} moves, {judged} clicks judged; the old volume {old}, the new one {new}")
    if failures:
        print("clicks with the old volume: " + "; ".join(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
