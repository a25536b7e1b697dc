# The fields as on any desktop, checked in the clipboard and in the preset file they lead to: the
# wheel and a typed digit choose tempo rows, Shift+Home selects the tempo number to type over it,
# a double click selects a word of the comments to type over it, and Ctrl+A Ctrl+C put the
# comments on the X clipboard, where another program (xclip) reads them.
source "$(dirname "$0")/session.sh"
start_x
start_program
window=$(wait_window "$MAIN_TITLE")
read -r _ _ unit_x unit_y < <("$PROBE" expected-size)
# A point of the window given in dialog units.
at() { xdotool mousemove --window "$window" $(($1 * unit_x / 4)) $(($2 * unit_y / 8)); }
clipboard() { xclip -o -selection "$1" 2>/dev/null || true; }

# The tempo list has the focus: two notches down from "100 Andante", "1" to the next row that
# begins with it ("112 Moderato"), a notch up: "108 Andante/Moderato", row 23.
xdotool windowfocus --sync "$window"
at 60 12
xdotool click 5 click 5
keys "$window" 1
at 60 12
xdotool click 4
# "No fixed scale", then the number field: Shift+Home from its end selects "100".
keys "$window" Tab Tab Tab Tab Tab Tab space Tab End shift+Home 1 3 2
# A double click on "comments", in the middle of the centred first line, and a word over it.
at 79 45
xdotool click --repeat 2 --delay 80 1
sleep 0.2
[[ $(clipboard primary) == comments ]] || fail "the X selection holds \"$(clipboard primary)\""
xdotool type --delay 60 notes
keys "$window" ctrl+a ctrl+c
want='Place here notes for 1...8 user presets'
for ((try = 0; try < 20; ++try)); do
    [[ $(clipboard clipboard) == "$want" ]] && break
    sleep 0.1
done
[[ $(clipboard clipboard) == "$want" ]] || fail "the clipboard holds \"$(clipboard clipboard)\""
# Save as preset 1 (the Save dialog's first row).
keys "$window" Tab Return
save=$(wait_window '^Save User Preset$')
keys "$save" Return
wait_window_gone '^Save User Preset$'
# The clipboard is still served after the copy.
[[ $(clipboard clipboard) == "$want" ]] || fail "the clipboard lost the comments"
keys "$window" Escape
wait_exit 1000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"

# 60000 / 132 = 454 ms, "Allegro", row 23 kept, free entry, "1/4", "Metronome".
check_bank bank1.dat 454 0 Allegro 132 132 23 1 0 0 "$want"
log "ok"
