# The slider and the desktop's mixer share one volume, the stream's own in the sound server:
#  - at 300 BPM the slider, taken again and again to the far left and back to the far right, acts
#    on the next click: a second recorder notes when each piece of the sink's sound reaches it
#    (the sink hands its monitor each block as it mixes it, at most its latency ahead of its
#    clock), which places every click in wall-clock time against the key that moved the slider;
#  - a volume set in the mixer (pactl) moves the slider, and the slider's repaints keep it;
#  - the server's restored volume is where the slider starts the next time;
#  - the stream tells the mixer who plays.
# Extra arguments: ONSET_ANALYSE PULSE_NULL_SINK; SOUND_SERVER chooses the server.
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"

AFTER_MS=30  # a click that sounds later than this after a move has the new volume

# The program's stream on the server: its index, and its right channel's volume (0 to 65536).
stream_index() { pactl list short sink-inputs | awk 'NR == 1 { print $1 }'; }
stream_volume() {
    pactl list sink-inputs | grep -o 'front-right: [0-9]*' | head -n1 | awk '{ print $2 }'
}
# Waits up to 3 s for the stream's volume to come within 1 % of $1.
wait_volume() {
    local v=""
    for _ in $(seq 60); do
        v=$(stream_volume)
        [[ -n $v ]] && ((v > $1 - 656 && v < $1 + 656)) && return 0
        sleep 0.05
    done
    fail "$2: the stream's volume is ${v:-none}, expected about $1"
}
wait_stream() {
    for _ in $(seq 100); do
        [[ -n $(stream_index) ]] && return 0
        sleep 0.05
    done
    fail "the program's stream is not on the server"
}

start_sound
# A private PulseAudio starts without the module that restores a stream's volume; desktops load
# it. WirePlumber restores volumes on its own.
[[ ${SOUND_SERVER:-pulseaudio} == pulseaudio ]] &&
    { pactl load-module module-stream-restore >/dev/null || fail "no module-stream-restore"; }
start_timed_recording  # there before the program, on the sink alone
start_x
start_program
window=$(wait_window "$MAIN_TITLE")
wait_stream

# Who plays, as the mixer shows it.
props=$(pactl list sink-inputs)
for want in 'application.name = "Vorla Metronome"' 'application.id = "example.vorla.Metronome"' \
    'application.icon_name = "vorla-metronome"' 'media.role = "production"' \
    "application.process.binary = \"${METRONOME##*/}\"" 'media.name = "Click"'; do
    grep -qF "$want" <<<"$props" || fail "the stream does not say $want: $props"
done
log "the stream's properties are in the mixer"

# "No fixed scale" (past On/Off, "Metronome", "1/4", the volume and Tap), 300 BPM, On, and back
# to the volume slider (past "No fixed scale" and Tap).
keys "$window" Tab Tab Tab Tab Tab Tab space
keys "$window" Tab BackSpace BackSpace BackSpace 3 0 0 Return
keys "$window" shift+Tab shift+Tab shift+Tab
sleep 1.5
# Far left and far right in turn, at moments that fall all over the 200 ms between clicks.
: >"$WORK/moves"
for move in $(seq 13); do
    sleep "0.$((35 + RANDOM % 45))"
    if ((move % 2)); then key=Home kind=mute; else key=End kind=full; fi
    # The key goes out between these two times (without xdotool's pause of 12 ms after it).
    before=$EPOCHREALTIME
    xdotool key --delay 0 "$key"
    echo "$before $EPOCHREALTIME $kind" >>"$WORK/moves"
done
sleep 1.0
wait_volume 0 "the slider at the far left"
stop_timed_recording  # in silence: the mixer's part follows

# The mixer sets 40 % (26214): the slider follows, and its repaints (the focus leaving it and
# coming back) keep it there.
pactl set-sink-input-volume "$(stream_index)" 26214
sleep 0.5
keys "$window" Tab shift+Tab
sleep 0.5
wait_volume 26214 "after repaints"
# A step to the right of where the slider stands now: about 40 %, not a step above silence.
keys "$window" Right
sleep 0.3
wait_volume 26214 "a step from where the mixer put the slider"
log "the mixer's volume moved the slider"

keys "$window" Return  # Off
keys "$window" Escape
wait_exit 2000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"

# The next start takes the volume that the server restored for the program.
start_program
window=$(wait_window "$MAIN_TITLE")
wait_stream
wait_volume 26214 "the next start"
keys "$window" Tab Tab Tab Tab Right
wait_volume 26214 "a step from where the next start put the slider"
log "the next start took the restored volume"
keys "$window" Escape
wait_exit 2000

# A start while the server does not answer for longer than the program waits for it: the window
# shows first, at the volume it assumes, and the volume restored for the program comes later. The
# slider follows it, and its first paint must not have put the assumed volume in its place.
server_pids() {
    local name
    for name in pulse pipewire pipewire-pulse wireplumber; do
        if [[ -f $WORK/pulse/$name.pid ]]; then cat "$WORK/pulse/$name.pid"; fi
    done
}
# shellcheck disable=SC2046
kill -STOP $(server_pids)
CLEANUP=("kill -CONT $(server_pids | tr '\n' ' ') 2>/dev/null" "${CLEANUP[@]}")
start_program
window=$(wait_window "$MAIN_TITLE")
sleep 0.5
# shellcheck disable=SC2046
kill -CONT $(server_pids)
wait_stream
wait_volume 26214 "a start while the server was slow"
sleep 0.5
keys "$window" Tab Tab Tab Tab Right
wait_volume 26214 "a step from where the slow start put the slider"
log "a start while the server was slow kept the restored volume"
keys "$window" Escape
wait_exit 2000

# The frames that had arrived by the first move.
first=$(awk -v first="$(head -n1 "$WORK/moves" | cut -d' ' -f1)" '$1 > first { print $2; exit }' \
    "$WORK/timed.times")
clicks=$(awk -v until="$first" '$1 == "onset" && $2 < until' "$WORK/timed-onsets.txt" | wc -l)
((clicks >= 5)) || fail "the click did not sound before the slider moved ($clicks clicks)"
# A click that sounds more than AFTER_MS after a move was mixed more than that, less the sink's
# lead, after it.
verdict=$(python3 "$(dirname "$0")/volume_lag.py" "$WORK/timed-onsets.txt" "$WORK/timed.times" \
    "$WORK/moves" 9600 $((AFTER_MS - TIMED_LATENCY_MS))) || fail "the slider: $verdict"
log "the slider: $verdict"
log "ok"
