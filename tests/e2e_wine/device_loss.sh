# The output device lost under Wine, as when a USB headset is unplugged: the program starts on a
# second sink, the default then, which is removed while the click runs. The click comes back on
# the first sink within 2 s, its intervals exact again, and the program goes on. Listeners: the
# first sink's recorder and three on the second, all there from before the program starts.
# PulseAudio itself moves a stream off a sink that goes; so the stream is then ended by the server
# (as a driver that fails ends it), and the program must open a new one: the click is back within
# 2 s of that too.
# Arguments: WINE_PROGRAM GUI_PROBE SOURCE_DIR ONSET_ANALYSE PULSE_NULL_SINK.
source "$3/tests/e2e_gui/session.sh"
source "$3/tests/e2e_gui/sound.sh"
source "$3/tests/e2e_wine/wine_session.sh"

BACK_MS=2000

# Ends stream $1 as the server ends a stream whose device fails: a command on the server's own
# command socket (pactl has none for it).
end_stream() {
    local socket=$WORK/pulse/cli
    [[ -S $socket ]] || pactl load-module module-cli-protocol-unix "socket=$socket" >/dev/null
    python3 - "$socket" "$1" <<'PY'
import socket, sys
s = socket.socket(socket.AF_UNIX)
s.connect(sys.argv[1])
s.sendall(b"kill-sink-input %s\nexit\n" % sys.argv[2].encode())
s.settimeout(2)
try:
    while s.recv(4096):
        pass
except OSError:
    pass
PY
}

start_sound
start_recording
"$PULSE" listen "$WORK/pulse" headset "$WORK/headset" || fail "no second sink"
pactl set-default-sink headset
start_x
start_program
window=$(wait_wine_window)
keys "$window" Return  # On/Off
sleep 3
stream_before=$(pactl list short sink-inputs | awk '{ print $1 }' | paste -sd ' ')
module=$(pactl list short modules | awk '/sink_name=headset/ { print $1 }')
# Read before the headset goes: the recorder's file can only lag behind its sink, so every click
# that the first sink plays after the move lies beyond it, however long the unload takes.
lost=$(recorded_frames)
pactl unload-module "$module"
sleep 4
stream_after=$(pactl list short sink-inputs | awk '{ print $1 }' | paste -sd ' ')
# Whether the server moved the stream to the remaining sink or the program opened a new one.
log "the program's stream: ${stream_before:-none} before, ${stream_after:-none} after"
kill -0 "$PROGRAM" 2>/dev/null || fail "the program ended when its device went"
end_stream "${stream_after%% *}" || fail "no stream to end"
sleep 4
stream_new=$(pactl list short sink-inputs | awk '{ print $1 }' | paste -sd ' ')
log "after the server ended it: ${stream_new:-none}"
kill -0 "$PROGRAM" 2>/dev/null || fail "the program ended when its stream was ended"
ending=$(recorded_frames)
keys "$window" Escape
wait_exit 3000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"

analyse_recording
"$ANALYSE" "$WORK/headset.recorder.wav" >"$WORK/headset.txt" || fail "the headset's capture"
heard=$(awk '$1 == "onset"' "$WORK/headset.txt" | wc -l)
# (Its recorders follow the server to the first sink when it goes, so they hear on.)
log "the headset's recorder heard $heard clicks"
((heard >= 4)) || fail "the click did not start on the default device"
early=$(awk -v at="$lost" '$1 == "onset" && $2 < at' "$WORK/onsets.txt" | wc -l)
((early == 0)) || fail "the first sink heard $early clicks while the headset was the default"
# The first click on the first sink after the loss, in ms from it.
read -r after_loss at_loss < <(awk -v at="$lost" -v r="$RATE_HZ" '$1 == "onset" && $2 > at {
    printf "%.0f %d\n", ($2 - at) * 1000 / r, $2; exit }' "$WORK/onsets.txt") || true
log "back on the first sink ${after_loss:-never} ms after the headset went"
[[ -n $after_loss ]] && ((after_loss <= BACK_MS)) ||
    fail "the click was not back within $BACK_MS ms of the headset's loss"
# The intervals there are judged from the second click on: the first may have begun on the
# headset, cut in two by the server's move, and is then heard late and faint.
whole_from=$(awk -v at="$at_loss" '$1 == "onset" && $2 > at { print $2; exit }' \
    "$WORK/onsets.txt") || true
[[ -n $whole_from ]] || fail "only one click after the headset's loss"
# The server's end of the stream leaves the longest interval; all others are exact. The click
# comes back at most 2 s later than it would have sounded.
read -r gap_at gap < <(awk -v from="$at_loss" '$1 == "onset" && $2 > from && $6 > longest {
    longest = $6; at = prev } { prev = $2 } END { if (longest > 28800 + 2400) print at, longest }' \
    "$WORK/onsets.txt") || true
[[ -n ${gap:-} ]] || fail "no gap where the stream was ended"
late=$((gap * 1000 / RATE_HZ - 600))
log "after the server ended the stream, the click came $late ms late"
((late <= BACK_MS)) || fail "the click was not back within $BACK_MS ms of its stream's end"
judge_intervals "$whole_from" "$gap_at" 600 4
judge_intervals "$((gap_at + 1))" "$ending" 600 4
log "ok"
