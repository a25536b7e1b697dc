# Escape and the close box each end the program with status 0 within a second.
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
log "ok"
