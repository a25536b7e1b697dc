# A tempo typed while the click runs: "No fixed scale" ticked, the number field emptied and 75
# typed, and the clicks go from 600 ms ("100 Andante") to 60000 / 75 = 800 ms apart.
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"

start_listening  # sets window

keys "$window" Return  # On/Off; the focus stays on the combo box
sleep 2
# Past On/Off, "Metronome", "1/4", the volume and Tap to "No fixed scale", then its number field.
keys "$window" Tab Tab Tab Tab Tab Tab space
keys "$window" Tab BackSpace BackSpace BackSpace 7 5
sleep 5.4
keys "$window" Escape
wait_exit 1000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"

analyse_recording
[[ $PATTERN =~ ^A+$ ]] || fail "\"1/4\" should sound accents only, heard $PATTERN"
check_tempo_change 600 800 4
log "ok"
