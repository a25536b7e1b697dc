# The volume slider under Wine: while the click runs at "100 Andante", Home takes the slider to the
# far left and End back to the far right, twice, 1.3 s apart (so that the moves fall at different
# moments of the beat). Every click more than 30 ms after Home is silent, and every one more than
# 30 ms after End as loud as those before the first move.
# Arguments: WINE_PROGRAM GUI_PROBE SOURCE_DIR ONSET_ANALYSE PULSE_NULL_SINK.
source "$3/tests/e2e_gui/session.sh"
source "$3/tests/e2e_gui/sound.sh"
source "$3/tests/e2e_wine/wine_session.sh"

AFTER_MS=30

start_wine_listening
keys "$window" Return  # On/Off
click_at "${SLIDER[@]}"  # the thumb, which stays where it is
sleep 2.5
moves=()
for key in Home End Home End; do
    xdotool key "$key"
    # What the recorder has by now was played before the key: about the move's frame.
    moves+=("$(recorded_frames)")
    sleep 1.3
done
sleep 1
keys "$window" Escape
wait_exit 3000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"

analyse_recording
# Each click after a move: its time from the last move before it (ms), that move (1 Home, 2 End),
# and its peak against the loudest click before the first move.
levels=$(awk -v moves="${moves[*]}" -v r="$RATE_HZ" '
    BEGIN { n = split(moves, m, " ") }
    $1 == "onset" {
        if ($2 < m[1] - r / 20) { full = $4 > full ? $4 : full; ++before; next }
        if ($2 < m[1]) next
        for (i = 1; i < n && $2 >= m[i + 1]; ++i) {}
        printf "%.0f %d %.3f\n", ($2 - m[i]) * 1000 / r, 2 - i % 2, $4 / full
    }
    END { if (before < 3) print "too-few" }' "$WORK/onsets.txt")
log "clicks after the moves (ms after it, 1 Home or 2 End, level): ${levels//$'\n'/; }"
[[ $levels != *too-few* ]] || fail "fewer than three clicks before the slider moved"
# What the onset finder hears after Home is only a trace of a click at most.
awk -v after="$AFTER_MS" '$1 > after && ($2 == 1 && $3 > 0.02 || $2 == 2 && $3 < 0.95) {
        print; bad = 1
    } END { exit bad }' <<<"$levels" >"$WORK/off.txt" ||
    fail "clicks more than $AFTER_MS ms after a move at the wrong level: $(paste -sd ';' "$WORK/off.txt")"
(($(awk -v after="$AFTER_MS" '$1 > after && $2 == 2' <<<"$levels" | wc -l) >= 3)) ||
    fail "fewer than three clicks after End"
log "ok"
