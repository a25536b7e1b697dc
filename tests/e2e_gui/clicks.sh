# The clicks through the speakers. The program plays into a private sound server whose output is
# recorded: Enter right after start gives accents 600 ms apart ("1/4"), "3/4" turns them into
# accent, regular, regular, and Enter again stops them. Extra arguments: ONSET_ANALYSE
# PULSE_NULL_SINK (tools of the audio harness).
source "$(dirname "$0")/session.sh"
ANALYSE=$4
PULSE=$5

"$PULSE" start "$WORK/pulse" || fail "no sound server"
CLEANUP+=("\"$PULSE\" stop \"$WORK/pulse\"")
export "$(cat "$WORK/pulse/env")"
start_x
start_program
window=$(wait_window "$MAIN_TITLE")
"$PULSE" record "$WORK/pulse" "$WORK/clicks.wav" || fail "no recording"

keys "$window" Return  # On/Off, the default button; the focus stays on the combo box
sleep 1.5
keys "$window" Tab Tab Tab Down Down  # past On/Off and "Metronome" to "1/4", down to "3/4"
sleep 3.4
keys "$window" Return  # On/Off again: the default button, since the focus is on a radio
sleep 1.2
keys "$window" Escape
wait_exit 1000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
"$PULSE" stop "$WORK/pulse"

"$ANALYSE" "$WORK/clicks.wav" 600 >"$WORK/onsets.txt" || fail "the capture cannot be read"
rate=$(awk '$1 == "rate" { print $2 }' "$WORK/onsets.txt")
frames=$((($(stat -c %s "$WORK/clicks.wav") - 44) / 2))
pattern=$(awk '$1 == "onset" { printf "%s", $5 }' "$WORK/onsets.txt")
intervals=$(awk -v r="$rate" '$1 == "onset" && $6 > 0 { printf "%.1f ", $6 * 1000 / r }' \
    "$WORK/onsets.txt")
last=$(awk '$1 == "onset" { f = $2 } END { print f + 0 }' "$WORK/onsets.txt")
log "onsets: $pattern"
log "intervals (ms): $intervals"
log "$(awk -v r="$rate" -v n="$frames" -v l="$last" \
    'BEGIN { printf "silence after the last click: %.2f s", (n - l) / r }')"

((${#pattern} >= 8 && ${#pattern} <= 14)) || fail "expected about 9 clicks, heard ${#pattern}"
# The first click is played at once from the keypress, the others on the timer's grid: under
# load the first interval may stray further than the steady ones.
first=1
for ms in $intervals; do
    slack=$((first ? 80 : 15))
    first=0
    awk -v m="$ms" -v s="$slack" 'BEGIN { exit !(m > 600 - s && m < 600 + s) }' ||
        fail "an interval of $ms ms"
done
[[ ${pattern:0:3} == AAA ]] || fail "\"1/4\" should sound accents only, heard ${pattern:0:3}"
tail=${pattern: -6}
[[ $tail == ARRARR || $tail == RARRAR || $tail == RRARRA ]] ||
    fail "\"3/4\" should sound accent, regular, regular; heard $tail"
awk -v r="$rate" -v n="$frames" -v l="$last" 'BEGIN { exit !((n - l) / r > 1.0) }' ||
    fail "the clicks went on after the second Enter"
log "ok"
