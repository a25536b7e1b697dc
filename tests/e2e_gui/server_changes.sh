# The click holds its time while the sound server changes under it: a recorder joins after the
# click (another records from before it), another client with a short latency joins and leaves,
# more recorders come and go, the default sink changes (the stream moves there and back), and the
# server is restarted (the click comes back by itself within 2 s). Intervals are judged one by
# one, to the frame: at "100 Andante" in "1/4" each is 600 ms, 28800 frames at 48 kHz. Extra
# arguments: ONSET_ANALYSE PULSE_NULL_SINK; SOUND_SERVER chooses the server (pulseaudio or
# pipewire).
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"

PERIOD=28800

# Prints "seconds interval" for each onset after the first in WAV file $1.
onsets_of() {
    "$ANALYSE" "$1" | awk '$1 == "onset" && $6 > 0 { print $3, $6 }'
}

# The intervals of onsets $1 ("seconds interval" lines) heard from $2 s on and before $3 s.
between() {
    awk -v a="$2" -v b="$3" '$1 >= a && $1 < b { printf "%s ", $2 }' <<<"$1"
}

# Fails unless at least $3 intervals are in $2 and all but $4 (default 1) of them are PERIOD
# frames, give or take one. The one spared: on a busy machine the server may run dry once, and
# then a click goes missing (the frames after it keep their time).
check_steady() {
    local what=$1 list=$2 least=$3 spare=${4:-1} count odd
    count=$(wc -w <<<"$list")
    odd=$(awk -v p="$PERIOD" '{
        for (i = 1; i <= NF; ++i) if ($i < p - 1 || $i > p + 1) printf "%s ", $i }' <<<"$list")
    log "$what: $count intervals${odd:+, others: $odd}"
    ((count >= least)) || fail "$what: expected at least $least intervals, heard $count"
    (($(wc -w <<<"$odd") <= spare)) || fail "$what: intervals of $odd frames"
}

start_sound
"$PULSE" add-sink "$WORK/pulse" other
start_recording  # a recorder from before the click: clicks.wav
early=$(now_ms)
start_x
start_program
window=$(wait_window "$MAIN_TITLE")
keys "$window" Return  # On: every 600 ms an accent
sleep 1
"$PULSE" record "$WORK/pulse" "$WORK/late.wav" clicks  # and one that joins after it
late=$(now_ms)
sleep 1

# Another client with a 5 ms latency plays silence for 1.5 s every 3 s; then a recorder with a
# 5 ms latency joins and leaves, twice.
for _ in 1 2 3; do
    timeout 1.5 pacat --raw --latency-msec=5 </dev/zero >/dev/null 2>&1 || true
    sleep 1.5
done
for _ in 1 2; do
    timeout 1 parecord --raw --latency-msec=5 --device=clicks.monitor /dev/null 2>/dev/null || true
    sleep 1
done

# The default sink changes: the stream moves to "other", and back.
"$PULSE" record "$WORK/pulse" "$WORK/other.wav" other
sleep 0.5
moved=$(now_ms)
pactl set-default-sink other
# The stream is on the other sink once the server has moved it: on a loaded machine that may
# take a few seconds.
other_sink=$(pactl list short sinks | awk '$2 == "other" { print $1 }')
until pactl list short sink-inputs | awk -v s="$other_sink" '$2 == s { found = 1 } END { exit !found }'; do
    (($(now_ms) - moved < 15000)) || fail "the stream did not move to the new default sink"
    sleep 0.05
done
log "the stream was on the other sink $(($(now_ms) - moved)) ms after it became the default"
sleep 4
pactl set-default-sink clicks
sleep 2
"$PULSE" stop "$WORK/pulse"  # ends the recordings, then the server

early_onsets=$(onsets_of "$WORK/clicks.wav")
until=$(awk -v m="$moved" -v e="$early" 'BEGIN { print (m - e) / 1000 - 0.3 }')
check_steady "before the click, a recorder" "$(between "$early_onsets" 0 "$until")" 14
until_late=$(awk -v m="$moved" -v l="$late" 'BEGIN { print (m - l) / 1000 - 0.3 }')
check_steady "after the click, a recorder" "$(between "$(onsets_of "$WORK/late.wav")" 0.7 "$until_late")" 14
# Across the moves the intervals that span one are not judged: PipeWire moves the recorders with
# the default sink as well, and a recorder that moves loses some of what it hears.
check_steady "moving there and back" "$(between "$early_onsets" "$until" 99)" 4 3
check_steady "on the other sink" "$(onsets_of "$WORK/other.wav" | awk '{ printf "%s ", $2 }')" 4 3

# The server is restarted: the stream comes back by itself, and the click with it.
sleep 1
"$PULSE" start "$WORK/pulse" || fail "the server did not start again"
restarted=$(now_ms)
export "$(cat "$WORK/pulse/env")"
until pactl list short sink-inputs 2>/dev/null | grep -q . || (($(now_ms) - restarted > 5000)); do
    sleep 0.02
done
back=$(($(now_ms) - restarted))
log "the program played again ${back} ms after the server was back"
((back <= 2000)) || fail "the program played again only after ${back} ms"
start_recording
sleep 4
"$PULSE" stop "$WORK/pulse"
restart_onsets=$(onsets_of "$WORK/clicks.wav")
log "after the restart (s, frames): $(tr '\n' ' ' <<<"$restart_onsets")"
check_steady "after the restart, a recorder" "$(between "$restart_onsets" 0.7 99)" 5

keys "$window" Escape
wait_exit 2000
log "quit in ${EXIT_AFTER_MS} ms"
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
[[ ! -s $WORK/program.log ]] || log "the program said: $(cat "$WORK/program.log")"
log "ok"
