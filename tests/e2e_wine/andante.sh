# The Windows program under Wine keeps exact time: every interval of 25 s at "100 Andante" (600 ms,
# "1/4") is exact to a frame in a recording made from before the program starts; every click is
# an accent. Arguments: WINE_PROGRAM GUI_PROBE SOURCE_DIR ONSET_ANALYSE PULSE_NULL_SINK.
source "$3/tests/e2e_gui/session.sh"
source "$3/tests/e2e_gui/sound.sh"
source "$3/tests/e2e_wine/wine_session.sh"

start_wine_listening
keys "$window" Return  # On/Off, the default button
sleep 25
keys "$window" Escape
wait_exit 3000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"

analyse_recording
# Every interval, the first too: the click that On/Off plays at once starts the timer's grid.
judge_intervals 0 "$FRAMES" 600 38
[[ $PATTERN =~ ^A+$ ]] || fail "\"1/4\" should sound accents only, heard $PATTERN"
log "ok"
