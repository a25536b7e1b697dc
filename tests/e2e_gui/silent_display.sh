# A display that takes the connection but never answers: the program says so on the terminal
# after 10 s and ends with a non-zero status, instead of waiting for good.
source "$(dirname "$0")/session.sh"

"$PROBE" silent-display >"$WORK/silent" &
STARTED+=($!)
for ((i = 0; i < 100; ++i)); do
    [[ -s $WORK/silent ]] && break
    sleep 0.05
done
[[ -s $WORK/silent ]] || fail "no silent display"
export DISPLAY=$(head -n1 "$WORK/silent")
log "a silent display on $DISPLAY"

start_program
wait_exit 15000
log "status $EXIT_STATUS after $((EXIT_AFTER_MS)) ms"
((EXIT_STATUS != 0)) || fail "the program ended with status 0"
grep -q "the display $DISPLAY does not answer" "$WORK/program.log" ||
    fail "no word of the silent display"
log "ok"
