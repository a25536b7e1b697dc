# The volume slider under Wine: while the click runs at "100 Andante", Home takes the slider to the
# far left and End back to the far right, thirteen times in turn, at moments that fall all over
# the beat. A timed recorder (see tests/e2e_gui/sound.sh) places every click in wall-clock time
# against the key: none with the old volume may come more than 30 ms after it (25 ms after the
# recorder heard it, as the sink mixes up to 5 ms ahead), plus the buffer that Wine's sound driver
# is given here (see wine-program). Wine applies a stream's volume as it fills that buffer, so
# what is in it keeps the old volume: 58 to 68 ms was measured with 100 ms.
# Arguments: WINE_PROGRAM GUI_PROBE SOURCE_DIR ONSET_ANALYSE PULSE_NULL_SINK.
source "$3/tests/e2e_gui/session.sh"
source "$3/tests/e2e_gui/sound.sh"
source "$3/tests/e2e_wine/wine_session.sh"

AFTER_MS=$((30 + ${WINE_PULSE_LATENCY_MSEC:-100}))
PERIOD=28800  # 600 ms in the recording's frames

start_sound
start_timed_recording
start_x
start_program
window=$(wait_wine_window)
keys "$window" Return  # On/Off
click_at "${SLIDER[@]}"  # the thumb, which stays where it is
sleep 2.5
: >"$WORK/moves"
for move in $(seq 13); do
    if ((move % 2)); then key=Home kind=mute; else key=End kind=full; fi
    before=$EPOCHREALTIME
    xdotool key --delay 0 "$key"
    echo "$before $EPOCHREALTIME $kind" >>"$WORK/moves"
    sleep "0.$((35 + RANDOM % 60))"
done
sleep 1
keys "$window" Escape
wait_exit 3000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
stop_timed_recording

first=$(awk -v first="$(head -n1 "$WORK/moves" | cut -d' ' -f1)" '$1 > first { print $2; exit }' \
    "$WORK/timed.times")
clicks=$(awk -v until="$first" '$1 == "onset" && $2 < until' "$WORK/timed-onsets.txt" | wc -l)
((clicks >= 3)) || fail "fewer than three clicks before the slider moved ($clicks)"
verdict=$(python3 "$SOURCE_DIR/tests/e2e_gui/volume_lag.py" "$WORK/timed-onsets.txt" \
    "$WORK/timed.times" "$WORK/moves" "$PERIOD" $((AFTER_MS - TIMED_LATENCY_MS))) ||
    fail "the slider: $verdict"
log "the slider: $verdict"
log "ok"
