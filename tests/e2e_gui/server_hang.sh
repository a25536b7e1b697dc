# On/Off pressed while the sound server hangs: once it goes on, the click follows the last On/Off
# at once and keeps its grid from there, with no stray clicks and no gaps. At "100 Andante" in "1/4"
# every click is an accent 600 ms (28800 frames) apart. The server is stopped (SIGSTOP) for 3.5 s,
# during which On/Off is pressed four times, the click ending up on.
# The judge is a sound card: a pipe sink read by pipe-drain --paced, which plays 48,000 frames a
# second whether the server writes them or not, from before the program starts. (A null sink
# stopped with its server would catch up on the time it lost when it goes on, mixing it as fast
# as it can, which no sound card does.) Its file is in wall-clock time. Extra arguments:
# ONSET_ANALYSE PULSE_NULL_SINK PIPE_DRAIN; PulseAudio only (PipeWire's pipe sink keeps its own
# clock, which stops with the server).
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"

PERIOD=28800

# The processes of the server, stopped and resumed together.
server_pids() {
    local name
    for name in pulse pipewire pipewire-pulse wireplumber; do
        if [[ -f $WORK/pulse/$name.pid ]]; then cat "$WORK/pulse/$name.pid"; fi
    done
}

DRAIN=$6
start_sound
mkfifo "$WORK/judge.fifo"
rt=()
chrt -f 10 true 2>/dev/null && rt=(chrt -f 10)
"${rt[@]}" "$DRAIN" --paced "$WORK/judge.fifo" "$WORK/judge.wav" 2>"$WORK/drain.log" &
drain=$!
STARTED+=("$drain")
# The FIFO's size is the drain's before the sink opens it.
for _ in $(seq 100); do
    [[ -s $WORK/drain.log ]] && break
    sleep 0.02
done
pactl load-module module-pipe-sink file="$WORK/judge.fifo" sink_name=judge format=s16le \
    rate=48000 channels=1 >/dev/null || fail "no pipe sink"
pactl set-default-sink judge || fail "the pipe sink cannot be the default"
start_x
start_program
window=$(wait_window "$MAIN_TITLE")
keys "$window" Return  # On
sleep 2

# shellcheck disable=SC2046
kill -STOP $(server_pids)
CLEANUP=("kill -CONT $(server_pids | tr '\n' ' ') 2>/dev/null" "${CLEANUP[@]}")
sleep 0.1
for _ in 1 2 3 4; do  # Off, On, Off, On
    keys "$window" Return
    sleep 0.3
done
sleep 2
# shellcheck disable=SC2046
kill -CONT $(server_pids)
resumed=$EPOCHREALTIME
sleep 6
keys "$window" Escape
wait_exit 2000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
kill -INT "$drain"
wait "$drain" 2>/dev/null || true
"$ANALYSE" "$WORK/judge.wav" >"$WORK/onsets.txt" || fail "the judge's file cannot be read"

# The resume's frame in the judge's file, and every click from the first after it.
first=$(awk '/the first frame at/ { print $NF }' "$WORK/drain.log")
from=$(awk -v r="$resumed" -v f="$first" 'BEGIN { printf "%d", (r - f) * 48000 }')
after=$(awk -v from="$from" '$1 == "onset" && $2 >= from { print $2 }' "$WORK/onsets.txt")
count=$(wc -l <<<"$after")
delay=$(awk -v from="$from" 'NR == 1 { printf "%.0f", ($1 - from) / 48 }' <<<"$after")
intervals=$(awk 'NR > 1 { printf "%d ", $1 - last } { last = $1 }' <<<"$after")
# Where the card played silence after the resume, the server did not keep it fed: that is the
# machine's, not the program's, and a failure says so.
gaps=$(awk -v from="$from" '/silence at frame/ {
    sub(":", "", $5); if ($5 > from + 4800) printf "%s ", $5 }' "$WORK/drain.log")
log "after the hang: the first click ${delay} ms after the resume, then intervals (frames): $intervals"
((count >= 8)) || fail "only $count clicks in the 6 s after the hang"
((delay <= 250)) || fail "the first click came $delay ms after the resume"
exact=$(awk -v p="$PERIOD" '{ for (i = 1; i <= NF; ++i) if ($i != p) { print "no"; exit } }
    END { print "yes" }' <<<"$intervals" | head -n1)
if [[ $exact != yes ]]; then
    [[ -z $gaps ]] || fail "the card was not fed in time after the resume (at frames $gaps): the" \
        "machine's fault, not the program's, so this run cannot judge the intervals ($intervals)"
    fail "after the hang, intervals of $intervals frames"
fi
log "ok"
