# The reference tone under Wine: "A4 TONE (440 Hz)", chosen while the click runs, sounds a steady
# 440 Hz in one piece for 5 s, with no gap where its sound loops; "208 Prestissimo" then ends it
# with clicks 288 ms apart, exact to a frame.
# Arguments: WINE_PROGRAM GUI_PROBE SOURCE_DIR ONSET_ANALYSE PULSE_NULL_SINK.
source "$3/tests/e2e_gui/session.sh"
source "$3/tests/e2e_gui/sound.sh"
source "$3/tests/e2e_wine/wine_session.sh"

start_wine_listening
keys "$window" Return  # On/Off
sleep 1.5
click_at "${COMBO[@]}"  # the list drops down
keys "$window" End Return  # the last row, the tone
sleep 5
keys "$window" Up  # the combo box has the focus: the row above it, "208 Prestissimo"
sleep 2.5
keys "$window" Escape
wait_exit 3000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"

analyse_recording
[[ -n $TONES ]] || fail "no steady tone"
pieces=$(grep -c . <<<"$TONES")
read -r start _ <<<"$TONES"
read -r _ end _ _ _ after < <(tail -n1 <<<"$TONES")
span=$(awk -v s="$start" -v e="$end" -v r="$RATE" 'BEGIN { printf "%.0f", (e - s) * 1000 / r }')
log "the tone: $span ms in $pieces piece(s) at $(awk '{ printf "%s ", $4 }' <<<"$TONES")Hz"
if ((pieces > 1)); then
    dry=$(underflows)
    ((pieces - 1 <= dry)) || fail "the tone broke into $pieces pieces: a gap"
    log "its $((pieces - 1)) gap(s) are Wine's driver running dry ($dry times: a busy machine)"
fi
awk '$4 <= 439.9 || $4 >= 440.1 { exit 1 }' <<<"$TONES" || fail "the tone is off 440.0 Hz"
((span > 4500)) || fail "the tone lasted only $span ms"
awk -v a="$after" 'BEGIN { exit !(a > 0.1) }' ||
    fail "silence after the tone (peak $after): it ended before the first click"
# The clicks of "208 Prestissimo" from the one that cut the tone off.
first=$(awk -v e="$end" '$1 == "onset" && $2 > e - 2400 { print $2; exit }' "$WORK/onsets.txt")
[[ -n $first ]] || fail "no click after the tone"
judge_intervals "$first" "$FRAMES" 288 7
log "ok"
