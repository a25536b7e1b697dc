# The click holds its time while the sound server changes under it: a recorder joins after the
# click, another client with a short latency joins and leaves, more recorders come and go, the
# default sink changes (the stream moves there and back), and the server is restarted (the click
# comes back by itself within 2 s). Intervals are judged one by one, to the frame: at "100 Andante"
# in "1/4" each is 600 ms, 28800 frames at 48 kHz. The judges are listeners that were on their
# sink before the program's stream came to it and that the server never moves: three stereo
# recorders of each sink. Each sink also plays a frame-counting reference client on its left
# channel, the program being alone on the right: what the sink or a listener loses of the whole
# mix, the reference loses too, and it is not held against the program. Clients that join, leave
# or move are only the disturbance. Extra arguments: ONSET_ANALYSE PULSE_NULL_SINK
# REFERENCE_CLICKER; SOUND_SERVER chooses the server (pulseaudio or pipewire).
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"
REFERENCE_CLICKER=$6

PERIOD=28800

# Prints "frame seconds" for each onset of the program (the right channel) in WAV file $1, or with
# $2 "reference", of the reference client (the left less the right).
onsets_of() {
    local part=--right
    [[ ${2:-} == reference ]] && part=--left-less-right
    "$ANALYSE" "$part" "$1" | awk '$1 == "onset" { print $2, $3 }'
}

# Judges what the listeners $WORK/$3.*.wav heard in part $4 of their records: the parts are
# split where no click was heard for more than 3 s (the stream was on another sink, for 5 s or
# more; a shorter silence is clicks gone missing, and is judged). The first and the last click of
# a part are left out, as the stream came or went during them; the first click after On is also
# off the timer's grid. Fails when the program was off or fewer than $2 intervals could be judged;
# a listener's own faults are logged. $1 names the stretch.
judge() {
    local what=$1 least=$2 prefix=$3 part=$4 wav name listeners=() references=() out status=0
    for wav in "$WORK/$prefix".*.wav; do
        name=${wav##*/}
        name=${name%.wav}
        [[ -n ${E2E_CAPTURES:-} ]] && cp "$wav" "$E2E_CAPTURES/server_changes-$(date +%H%M%S)-$name.wav"
        onsets_of "$wav" | awk -v part="$part" '
            NR == 1 || $1 - last > 3 * 48000 { ++n }
            n == part { frame[++count] = $1 }
            { last = $1 }
            END { for (i = 2; i < count; ++i) print frame[i] }' >"$WORK/$name.onsets"
        listeners+=("$name=$WORK/$name.onsets")
        onsets_of "$wav" reference | awk '{ print $1 }' >"$WORK/$name.reference"
        references+=(--reference "$name=$WORK/$name.reference")
    done
    out=$("$JUDGE" "$PERIOD" "$least" "${references[@]}" "${listeners[@]}") || status=$?
    log "$what: ${out//$'\n'/; }"
    # On PipeWire the program's timing is judged only where the listeners can be trusted with it:
    # in the normal build (the sanitizer slows the client thread two or three times, and a write
    # that comes late costs a whole server period: docs/pipewire-lost-periods.md), and with the
    # server in real time (sound.sh). Elsewhere the verdict is reported.
    if ((status == 1)) && [[ ${SOUND_SERVER:-} == pipewire ]] &&
        ((SANITIZED == 1 || SERVER_REALTIME == 0)); then
        log "$what: REPORTED, not judged (sanitizer build: $SANITIZED, server in real time:" \
            "$SERVER_REALTIME): the program's intervals were off"
        status=0
    fi
    ((status != 1)) || fail "$what: the program's intervals were off (load average $(cut -d' ' -f1-3 /proc/loadavg))"
    ((status != 2)) || fail "$what: too few intervals could be judged"
}

# The program connects through a door that stays shut until the judges listen.
open_door() {
    open_link door
}

# Waits up to $2 ms until the program's stream is on sink $1; prints how long it took.
wait_stream_on() {
    local sink from
    from=$(now_ms)
    sink=$(pactl list short sinks | awk -v n="$1" '$2 == n { print $1 }')
    until program_sinks | grep -qx "$sink"; do
        (($(now_ms) - from < $2)) || fail "the stream did not come to sink $1 within $2 ms"
        sleep 0.05
    done
    echo $(($(now_ms) - from))
}

start_sound
"$PULSE" listen "$WORK/pulse" main "$WORK/main"
"$PULSE" listen "$WORK/pulse" other "$WORK/other"
start_reference main
start_reference other
pactl set-default-sink main
open_door
start_x
start_program_through door
window=$(wait_window "$MAIN_TITLE")
keys "$window" Return  # On: every 600 ms an accent
sleep 1
RECORD_CHANNELS=2 "$PULSE" record "$WORK/pulse" "$WORK/late.wav" main # joins after the click
sleep 1

# Another client with a 5 ms latency plays silence for 1.5 s every 3 s; then a recorder with a
# 5 ms latency joins and leaves, twice.
for _ in 1 2 3; do
    timeout 1.5 pacat --raw --latency-msec=5 </dev/zero >/dev/null 2>&1 || true
    sleep 1.5
done
for _ in 1 2; do
    timeout 1 parecord --raw --latency-msec=5 --device=main.monitor /dev/null 2>/dev/null || true
    sleep 1
done

# The default sink changes: the stream moves to "other", and back. On a loaded machine the
# server may take a few seconds to move it.
pactl set-default-sink other
log "the stream was on the other sink $(wait_stream_on other 15000) ms after it became the default"
sleep 5
pactl set-default-sink main
log "the stream was back $(wait_stream_on main 15000) ms after its sink became the default again"
sleep 6  # the stretch back on the first sink: at least 3 intervals where all three listen
"$PULSE" stop "$WORK/pulse" # ends the listeners, then the server

judge "before the move" 14 main 1
judge "on the other sink" 5 other 1
judge "back on the first sink" 3 main 2
late_odd=$(onsets_of "$WORK/late.wav" | awk -v p="$PERIOD" 'NR > 1 && $1 - last != p { ++odd }
    { last = $1 } END { print NR - 1, odd + 0 }')
log "the recorder that joined late (not a judge) heard ${late_odd% *} intervals, ${late_odd#* } of them not $PERIOD frames"

# The server is restarted: the stream comes back by itself, and the click with it.
sleep 1
shut_link door
"$PULSE" start "$WORK/pulse" || fail "the server did not start again"
export "$(cat "$WORK/pulse/env")"
"$PULSE" listen "$WORK/pulse" main "$WORK/restart"
start_reference main
pactl set-default-sink main
open_door
back=$(wait_stream_on main 5000)
log "the program played again ${back} ms after the server was back"
((back <= 2000)) || fail "the program played again only after ${back} ms"
sleep 7  # at least 5 intervals where all three listen, with the click back 2 s late at worst
"$PULSE" stop "$WORK/pulse"
judge "after the restart" 5 restart 1

keys "$window" Escape
wait_exit 2000
log "quit in ${EXIT_AFTER_MS} ms"
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
[[ ! -s $WORK/program.log ]] || log "the program said: $(cat "$WORK/program.log")"
log "ok"
