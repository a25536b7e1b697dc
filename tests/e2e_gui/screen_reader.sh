# The program on a private accessibility bus, read and driven as a screen reader does, through
# AT-SPI (python3-pyatspi): the whole tree against the templates, On/Off's action starting the
# click (recorded), a radio's action stored by a save, the slider's value, the alert of an empty
# preset, the focus events of Tab in tab order, and the tempo name read as a typed tempo renames
# it. Extra arguments: ONSET_ANALYSE PULSE_NULL_SINK (tools of the audio harness).
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"
PYTHON=/usr/bin/python3  # Debian's, which has pyatspi
start_sound
start_recording
start_x

# A private session bus, and on it the accessibility bus launcher, as a desktop has them.
dbus-daemon --session --nofork --print-address=3 3>"$WORK/bus" >"$WORK/bus.log" 2>&1 &
STARTED+=($!)
for ((i = 0; i < 100; ++i)); do
    [[ -s $WORK/bus ]] && break
    sleep 0.05
done
[[ -s $WORK/bus ]] || fail "no session bus: $(cat "$WORK/bus.log")"
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$WORK/bus")
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$WORK/launcher.log" 2>&1 &
STARTED+=($!)
for ((i = 0; i < 100; ++i)); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.05
done
log "session bus and accessibility bus up"

start_program
window=$(wait_window "$MAIN_TITLE")
log "window mapped $(($(now_ms) - STARTED_AT_MS)) ms after start"
"$PYTHON" "$(dirname "$0")/screen_reader_check.py" "$WORK/app" "$window" ||
    fail "the screen reader's checks failed"
keys "$window" Escape
wait_exit 2000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
# Nothing of its own; the sanitizer build's leak check reports the suppressions it used.
said=$(sed '/^-*$/d; /^Suppressions used:/d; /^ *count *bytes template/d; /^ *[0-9]\+ \+[0-9]\+ /d' \
    "$WORK/program.log")
[[ -z $said ]] || fail "the program printed: $said"
analyse_recording
# On/Off's action ran for about 1.5 s with "1/4": accents 600 ms apart, the last perhaps cut off
# by the second action.
[[ $PATTERN =~ ^AA.?$ ]] || fail "On/Off's action: expected 2 or 3 clicks, accents, heard $PATTERN"
for ms in $INTERVALS; do
    near "$ms" 600 80 || fail "On/Off's action: an interval of $ms ms"
done
log "ok"
