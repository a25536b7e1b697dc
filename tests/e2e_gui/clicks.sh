# The clicks through the speakers. The program plays into a private sound server whose output is
# recorded: Enter right after start gives accents 600 ms apart ("1/4"), "3/4" turns them into
# accent, regular, regular, and Enter again stops them. Extra arguments: ONSET_ANALYSE
# PULSE_NULL_SINK (tools of the audio harness).
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"

start_listening  # sets window

keys "$window" Return  # On/Off, the default button; the focus stays on the combo box
sleep 1.5
keys "$window" Tab Tab Tab Down Down  # past On/Off and "Metronome" to "1/4", down to "3/4"
sleep 3.4
keys "$window" Return  # On/Off again: the default button, since the focus is on a radio
sleep 1.2
keys "$window" Escape
wait_exit 1000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
analyse_recording
last=$(awk '{ f = $1 } END { print f + 0 }' <<<"$ONSETS")
log "$(awk -v r="$RATE" -v n="$FRAMES" -v l="$last" \
    'BEGIN { printf "silence after the last click: %.2f s", (n - l) / r }')"

((${#PATTERN} >= 8 && ${#PATTERN} <= 14)) || fail "expected about 9 clicks, heard ${#PATTERN}"
# The first click is played at once from the keypress, the others on the timer's grid: under
# load the first interval may stray further than the steady ones.
first=1
for ms in $INTERVALS; do
    slack=$((first ? 80 : 15))
    first=0
    near "$ms" 600 "$slack" || fail "an interval of $ms ms"
done
[[ ${PATTERN:0:3} == AAA ]] || fail "\"1/4\" should sound accents only, heard ${PATTERN:0:3}"
tail=${PATTERN: -6}
[[ $tail == ARRARR || $tail == RARRAR || $tail == RRARRA ]] ||
    fail "\"3/4\" should sound accent, regular, regular; heard $tail"
awk -v r="$RATE" -v n="$FRAMES" -v l="$last" 'BEGIN { exit !((n - l) / r > 1.0) }' ||
    fail "the clicks went on after the second Enter"
log "ok"
