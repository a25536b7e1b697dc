# The keyboard through the whole dialog, checked in the preset file it writes: Tab follows the
# template order, Space ticks "No fixed scale", the number field takes digits only and three of
# them, the comments take Enter as a new line at the caret, Enter presses the tiny Save button
# when it has the focus, and the Save User Preset dialog is worked by Tab, arrows and Enter.
source "$(dirname "$0")/session.sh"
start_x
start_program
window=$(wait_window "$MAIN_TITLE")

# From the combo box: On/Off, "Metronome", "1/4", the volume, Tap, then "No fixed scale".
keys "$window" Tab Tab Tab Tab Tab Tab space
# The number field, emptied and typed into: the letter and the fourth digit are refused.
keys "$window" Tab BackSpace BackSpace BackSpace 1 2 a 3 4
# Past the name field and the preset buttons "2" to "6", "1", "7", "8" into the comments.
keys "$window" Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab x ampersand y Return z
# The Save button, then in its dialog: past OK and Cancel to the list, two rows down, Enter.
keys "$window" Tab Return
save=$(wait_window '^Save User Preset$')
keys "$save" Tab Tab Down Down Return
wait_window_gone '^Save User Preset$'
keys "$window" Escape
wait_exit 1000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"

# 60000 / 123 = 487 ms; the scale row 21, "100 Andante", is kept; "1/4"; "Metronome".
check_bank bank3.dat 487 0 Allegro 123 123 21 1 0 0 \
    $'Place here comments for 1...8 user presetsx&y\r\nz'
log "ok"
