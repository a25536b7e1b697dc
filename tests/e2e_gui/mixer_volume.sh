# The slider and the desktop's mixer share one volume, the stream's own in the sound server:
#  - at 300 BPM the slider taken to the far left sets the stream's volume in the server to
#    silence, and nothing loud follows in the recording. (Where the recorder's frames stand
#    against the key is known only roughly: both servers' null sinks render ahead of the clock,
#    by up to the queue. So this cannot tell a click 100 ms late from one in time; the old way
#    of scaling samples passed it too. The server applies the stream's volume as it mixes, to
#    what is queued.)
#  - a volume set in the mixer (pactl) moves the slider, and the slider's repaints keep it;
#  - the server's restored volume is where the slider starts the next time;
#  - the stream tells the mixer who plays.
# Extra arguments: ONSET_ANALYSE PULSE_NULL_SINK; SOUND_SERVER chooses the server.
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"

AFTER_MS=30  # a click later than this after the move is loud no more (48 frames a ms)

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
recorded_frames() { echo $((($(stat -c %s "$WORK/clicks.wav") - 44) / 2)); }
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
start_recording
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
xdotool key Home
# What the recorder has by now was rendered by the sink before the key: about the move's frame.
moved=$(recorded_frames)
sleep 1.0
wait_volume 0 "the slider at the far left"

mixer_at=$(recorded_frames)  # the clicks sound again from here on

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

analyse_recording
# Every click is judged by its frame in the recording.
loud=$(awk -v moved="$moved" -v after=$((AFTER_MS * 48)) -v until="$mixer_at" '
    $1 == "onset" { at = $2 - moved
      if (at < -50 * 48) { before++; peak = $4 > peak ? $4 : peak }
      else if (at > after && $2 < until) late = late sprintf("%+.0f ms (%.3f) ", at / 48, $4) }
    END { printf "%d %.3f %s\n", before, peak, late }' "$WORK/onsets.txt")
read -r before peak late <<<"$loud"
log "$before clicks before the move, the loudest $peak; after it: ${late:-none}"
((before >= 5)) || fail "the click did not sound before the move"
[[ -z $late ]] || fail "clicks later than $AFTER_MS ms after the move: $late"
log "ok"
