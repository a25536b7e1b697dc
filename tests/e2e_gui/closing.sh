# Escape, the close box, and the signals of a logout (SIGTERM, SIGHUP) or of Ctrl+C in the terminal
# (SIGINT) each end the program with status 0 within a second, also with the Save dialog open,
# which is cancelled as Escape would.
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
log "ok"
