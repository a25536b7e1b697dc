# A preset through the real windows: "80 Andante" (750 ms) in "2/4" saved as preset 5, then
# "160 Allegro" (375 ms) in "1/4" started, and the preset button "5" brings back 750 ms with
# accent, regular. Saved again as preset 6, the recalled state gives the same record.
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"

start_listening  # sets window

# In the combo box five rows up from "100 Andante"; past On/Off and "Metronome" to "1/4", then
# down to "2/4".
keys "$window" Up Up Up Up Up Tab Tab Tab Down
# Back past "Metronome", On/Off and the combo box to the tiny Save button; in its dialog past OK
# and Cancel to the list, four rows down from "1" to "5".
keys "$window" shift+Tab shift+Tab shift+Tab shift+Tab Return
save=$(wait_window '^Save User Preset$')
keys "$save" Tab Tab Down Down Down Down Return
wait_window_gone '^Save User Preset$'

# From the Save button on to the combo box, two pages of eight rows down, "1/4", On/Off.
keys "$window" Tab Next Next Tab Tab Tab Up Return
sleep 2.4
# Past the volume, Tap, "No fixed scale" and the preset buttons "2", "3", "4" to "5".
keys "$window" Tab Tab Tab Tab Tab Tab Tab space
sleep 4.2
# Past "6", "1", "7", "8" and the comments to Save, then "6" in its dialog.
keys "$window" Tab Tab Tab Tab Tab Tab Return
save=$(wait_window '^Save User Preset$')
keys "$save" Tab Tab Down Down Down Down Down Return
wait_window_gone '^Save User Preset$'
keys "$window" Escape
wait_exit 1000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"

# Row 16, "80 Andante"; the free-entry texts keep their start values; "2/4"; "Metronome".
check_bank bank5.dat 750 0 Andante 100 100 16 0 1 0 'Place here comments for 1...8 user presets'
cmp "$WORK/app/bank5.dat" "$WORK/app/bank6.dat" ||
    fail "the recalled preset, saved again, differs from the one saved"

analyse_recording
check_tempo_change 375 750 4
[[ ${PATTERN:0:4} == AAAA ]] || fail "\"1/4\" should sound accents only, heard ${PATTERN:0:4}"
tail=${PATTERN: -4}
[[ $tail == ARAR || $tail == RARA ]] || fail "the recalled \"2/4\" should alternate, heard $tail"
log "ok"
