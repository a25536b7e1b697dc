# Without a sound server, and with a home where the sound library cannot keep its folder, the
# program says once that it runs silently, however often it looks for a server, and still runs.
source "$(dirname "$0")/session.sh"

# No server anywhere the libraries look: no address, no runtime folder, and a home that is a file.
unset PULSE_SERVER PULSE_RUNTIME_PATH XDG_RUNTIME_DIR XDG_CONFIG_HOME PULSE_CLIENTCONFIG
unset DBUS_SESSION_BUS_ADDRESS  # nor a session bus: the media remote is absent and silent
touch "$WORK/home"
export HOME=$WORK/home

start_x
start_program
window=$(wait_window "$MAIN_TITLE")
keys "$window" Return  # On: the click runs silently
sleep 6  # six tries or more, once a second

lines=$(grep -c . "$WORK/program.log" || true)
log "the program said $lines line(s) in 6 s: $(tr '\n' '|' <"$WORK/program.log")"
grep -q "running silently" "$WORK/program.log" || fail "the program did not say it runs silently"
# Its own line, and at most one from the library on why it found nothing.
((lines <= 2)) || fail "the program said $lines lines"

keys "$window" Escape
wait_exit 2000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
log "ok"
