# Escape, the close box, and the signals of a logout (SIGTERM, SIGHUP) or of Ctrl+C in the terminal
# (SIGINT) each end the program with status 0 within a second, also with the Save dialog open,
# which is cancelled as Escape would, and under every popup menu, the drop list and every box.
source "$(dirname "$0")/session.sh"
start_x

start_program
window=$(wait_window "$MAIN_TITLE")
keys "$window" Escape
wait_exit 1000
log "Escape: status $EXIT_STATUS after $EXIT_AFTER_MS ms"
((EXIT_STATUS == 0)) || fail "Escape: exit status $EXIT_STATUS"

start_program
window=$(wait_window "$MAIN_TITLE")
"$PROBE" close "$window"
wait_exit 1000
log "close box: status $EXIT_STATUS after $EXIT_AFTER_MS ms"
((EXIT_STATUS == 0)) || fail "close box: exit status $EXIT_STATUS"

for signal in TERM INT HUP; do
    start_program
    window=$(wait_window "$MAIN_TITLE")
    kill -s "$signal" "$PROGRAM"
    wait_exit 1000
    log "SIG$signal: status $EXIT_STATUS after $EXIT_AFTER_MS ms"
    ((EXIT_STATUS == 0)) || fail "SIG$signal: exit status $EXIT_STATUS"
done

# The Save dialog open: Shift+Tab from the tempo list reaches the tiny Save button.
start_program
window=$(wait_window "$MAIN_TITLE")
keys "$window" shift+Tab Return
wait_window '^Save User Preset$' >/dev/null
kill -s TERM "$PROGRAM"
wait_exit 1000
log "SIGTERM in the Save dialog: status $EXIT_STATUS after $EXIT_AFTER_MS ms"
((EXIT_STATUS == 0)) || fail "SIGTERM in the Save dialog: exit status $EXIT_STATUS"
[[ -z $(ls -A "$WORK/app" | grep -v '^sounds$') ]] || fail "files left: $(ls -A "$WORK/app")"

# Sends signal $1 while $2 is open: the program ends with status 0 within a second.
end_under() {
    kill -s "$1" "$PROGRAM"
    wait_exit 1000
    log "SIG$1 under $2: status $EXIT_STATUS after $EXIT_AFTER_MS ms"
    ((EXIT_STATUS == 0)) || fail "SIG$1 under $2: exit status $EXIT_STATUS"
}
read -r _ _ unit_x unit_y < <("$PROBE" expected-size)

start_program
window=$(wait_window "$MAIN_TITLE")
keys "$window" alt+space
sleep 0.5  # the menu opens
end_under TERM "the window menu"

# The comments' edit menu, by a right click on them (a point given in dialog units).
start_program
window=$(wait_window "$MAIN_TITLE")
xdotool mousemove --window "$window" $((79 * unit_x / 4)) $((45 * unit_y / 8)) click 3
sleep 0.5
end_under INT "the edit menu"

# The tempo list has the focus at the start: F4 opens its drop list.
start_program
window=$(wait_window "$MAIN_TITLE")
keys "$window" F4
sleep 0.5
end_under HUP "the drop list"

start_program
window=$(wait_window "$MAIN_TITLE")
keys "$window" alt+space
sleep 0.5
xdotool key a
wait_window '^About Vorla Metronome 2007\.09$' >/dev/null
end_under TERM "the About box"

start_program
window=$(wait_window "$MAIN_TITLE")
keys "$window" F1
wait_window '^Vorla Metronome$' >/dev/null
end_under INT "the hint box"
log "ok"
