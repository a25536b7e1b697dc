# A preset recalled under Wine, and exact time at the fastest row in eighths: the click starts at
# "100 Andante", then the preset button "5" recalls "208 Prestissimo" in "6/8" from bank5.dat
# (144 ms a click). Every interval of the 10 s that follow is exact to a frame, and every sixth
# click is the accent. Arguments: WINE_PROGRAM GUI_PROBE SOURCE_DIR ONSET_ANALYSE PULSE_NULL_SINK.
source "$3/tests/e2e_gui/session.sh"
source "$3/tests/e2e_gui/sound.sh"
source "$3/tests/e2e_wine/wine_session.sh"

mkdir -p "$WORK/app"
# 288 ms, eighths, row 38, no free entry, signature 11 ("6/8"), "Metronome".
bank_record 288 1 Prestissimo 208 208 38 0 11 0 'Fast eighths' >"$WORK/app/bank5.dat"

start_wine_listening
keys "$window" Return  # On/Off; the focus stays on the combo box
sleep 2
click_at "${PRESET5[@]}"
sleep 10.5
keys "$window" Escape
wait_exit 3000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"

analyse_recording
# The recalled run starts with the first click 144 ms (6912 frames) after the one before it.
start=$(awk '$1 == "onset" { if ($6 > 6800 && $6 < 7000) { print prev; exit } prev = $2 }' \
    "$WORK/onsets.txt")
[[ -n $start ]] || fail "no clicks 144 ms apart: the preset was not recalled"
judge_intervals "$start" "$FRAMES" 144 60
tail=$(awk -v s="$start" '$1 == "onset" && $2 >= s { printf "%s", $5 }' "$WORK/onsets.txt")
log "from the recall on: $tail"
# One accent in six, in whatever phase the recall leaves the count of beats.
[[ $tail =~ ^R{0,5}(ARRRRR)+A?R{0,5}$ ]] || fail "\"6/8\" should sound an accent and five regulars"
log "ok"
