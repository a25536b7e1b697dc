# F1 shows the tap hint, which Enter closes; Alt+Space then A opens the About box from our system
# menu, which Escape closes; the main dialog stays open throughout.
source "$(dirname "$0")/session.sh"
start_x
start_program
window=$(wait_window "$MAIN_TITLE")

keys "$window" F1
hint=$(wait_window '^Vorla Metronome$')
log "hint box $hint is open"
keys "$hint" Return
wait_window_gone '^Vorla Metronome$'

keys "$window" alt+space
sleep 0.5  # the menu opens
xdotool key a
about=$(wait_window '^About Vorla Metronome 2007\.09$')
log "About box $about is open"
keys "$about" Escape
wait_window_gone '^About Vorla Metronome 2007\.09$'

wait_window "$MAIN_TITLE" >/dev/null
keys "$window" Escape
wait_exit 1000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
log "ok"
