# The desktop's media remote (MPRIS) on a private session bus: dbus-send's PlayPause starts the
# click, which is recorded, and stops it; Play while it runs and Stop while it is off change
# nothing; Next recalls the next saved preset, passing empty ones; On/Off in the window and the
# media keys are announced as well (dbus-monitor watches every PropertiesChanged). A second copy
# takes a name with an instance suffix, and the bus going away leaves the program clicking.
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"

NAME=org.mpris.MediaPlayer2.VorlaMetronome
PLAYER=org.mpris.MediaPlayer2.Player

# A session bus of the test's own, after the sound server (PipeWire keeps one of its own).
start_bus() {
    dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$WORK/bus-address" \
        >"$WORK/bus.log" 2>&1 &
    BUS_DAEMON=$!
    STARTED+=($!)
    local i
    for ((i = 0; i < 100; ++i)); do
        [[ -s $WORK/bus-address ]] && break
        sleep 0.05
    done
    [[ -s $WORK/bus-address ]] || fail "dbus-daemon did not start: $(cat "$WORK/bus.log")"
    DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$WORK/bus-address")
    export DBUS_SESSION_BUS_ADDRESS
    log "session bus at $DBUS_SESSION_BUS_ADDRESS"
    dbus-monitor --session \
        "type='signal',interface='org.freedesktop.DBus.Properties',path='/org/mpris/MediaPlayer2'" \
        >"$WORK/monitor.log" 2>&1 &
    STARTED+=($!)
}

call() {  # call NAME METHOD [ARGS...]
    local dest=$1 method=$2
    shift 2
    dbus-send --session --print-reply --reply-timeout=3000 --dest="$dest" /org/mpris/MediaPlayer2 \
        "$method" "$@"
}
property() {  # property INTERFACE NAME: the reply's text
    call "$NAME" org.freedesktop.DBus.Properties.Get string:"$1" string:"$2"
}
status() { property $PLAYER PlaybackStatus | grep -o '"[A-Za-z]*"$' | tr -d '"'; }

wait_name() {  # waits up to 5 s for the bus name $1
    local i
    for ((i = 0; i < 100; ++i)); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.ListNames | grep -q "\"$1\"" && return 0
        sleep 0.05
    done
    fail "the program took no bus name $1"
}

# The statuses that PropertiesChanged announced, in order, on one line.
announced_statuses() {
    awk '/string "PlaybackStatus"/ { getline; if (match($0, /"[A-Za-z]*"/)) printf "%s ",
         substr($0, RSTART + 1, RLENGTH - 2) }' "$WORK/monitor.log"
}

# Two saved presets with empty ones around them: "2" is "120 Moderato/Allegro" (500 ms), "5" is
# "80 Andante" (750 ms), both "1/4" and "Metronome".
mkdir -p "$WORK/app"
bank_record 500 0 Andante 100 100 26 0 0 0 'two' >"$WORK/app/bank2.dat"
bank_record 750 0 Andante 100 100 16 0 0 0 'five' >"$WORK/app/bank5.dat"

start_sound
start_recording
start_bus
start_x
start_program
window=$(wait_window "$MAIN_TITLE")
wait_name $NAME

property org.mpris.MediaPlayer2 Identity | grep -q '"Vorla Metronome"' ||
    fail "Identity: $(property org.mpris.MediaPlayer2 Identity)"
property org.mpris.MediaPlayer2 DesktopEntry | grep -q '"example.vorla.Metronome"' ||
    fail "DesktopEntry: $(property org.mpris.MediaPlayer2 DesktopEntry)"
[[ $(status) == Stopped ]] || fail "status at the start: $(status)"
property $PLAYER Metadata | grep -q '"100 Andante"' || fail "metadata: $(property $PLAYER Metadata)"
property $PLAYER CanGoNext | grep -q 'boolean true' || fail "no next with presets 2 and 5 saved"

call $NAME $PLAYER.PlayPause >/dev/null
sleep 2.6
[[ $(status) == Playing ]] || fail "PlayPause did not start: $(status)"
call $NAME $PLAYER.Play >/dev/null  # running already: nothing changes
call $NAME $PLAYER.PlayPause >/dev/null
[[ $(status) == Stopped ]] || fail "PlayPause did not stop: $(status)"
call $NAME $PLAYER.Stop >/dev/null  # off already: nothing changes
sleep 1.5

call $NAME $PLAYER.Next >/dev/null  # "1" is empty: "2"
sleep 0.2
property $PLAYER Metadata | grep -q '"120 Moderato/Allegro"' ||
    fail "Next did not recall preset 2: $(property $PLAYER Metadata)"
property $PLAYER CanGoPrevious | grep -q 'boolean false' || fail "a previous before preset 2"
sleep 2.2
call $NAME $PLAYER.Next >/dev/null  # "3" and "4" are empty: "5"
sleep 0.2
property $PLAYER Metadata | grep -q '"80 Andante"' ||
    fail "Next did not pass the empty presets to 5: $(property $PLAYER Metadata)"
property $PLAYER CanGoNext | grep -q 'boolean false' || fail "a next after preset 5"
sleep 2.4
call $NAME $PLAYER.Stop >/dev/null
sleep 1.5

keys "$window" Return  # On/Off in the window
sleep 1.7
keys "$window" Return
sleep 0.3
[[ $(status) == Stopped ]] || fail "On/Off in the window did not stop: $(status)"

# The media keys, with the window focused.
keys "$window" XF86AudioPlay
sleep 0.3
[[ $(status) == Playing ]] || fail "XF86AudioPlay did not start: $(status)"
keys "$window" XF86AudioStop
sleep 0.3
[[ $(status) == Stopped ]] || fail "XF86AudioStop did not stop: $(status)"
keys "$window" XF86AudioPrev  # from "5" back past the empty ones to "2"
sleep 0.3
property $PLAYER Metadata | grep -q '"120 Moderato/Allegro"' ||
    fail "XF86AudioPrev did not recall preset 2: $(property $PLAYER Metadata)"
keys "$window" XF86AudioNext
sleep 0.3
property $PLAYER Metadata | grep -q '"80 Andante"' ||
    fail "XF86AudioNext did not recall preset 5: $(property $PLAYER Metadata)"
keys "$window" XF86AudioPlay
sleep 0.3

statuses=$(announced_statuses)
log "announced: $statuses"
[[ $statuses == "Playing Stopped Playing Stopped Playing Stopped Playing Stopped Playing Stopped " ]] ||
    fail "announced statuses: $statuses"
grep -q '"120 Moderato/Allegro"' "$WORK/monitor.log" && grep -q '"80 Andante"' "$WORK/monitor.log" ||
    fail "the recalled tempos were not announced"

# A second copy, while the first runs, takes a name of its own.
(cd "$WORK/app" && exec "$METRONOME") >"$WORK/second.log" 2>&1 &
second=$!
STARTED+=("$second")
wait_name "$NAME.instance$second"
kill "$second"

# The session bus going away leaves the program running as before, saying nothing.
kill "$BUS_DAEMON"
sleep 0.3
keys "$window" Return
sleep 1.6
keys "$window" Return
kill -0 "$PROGRAM" 2>/dev/null || fail "the program ended with the session bus"
keys "$window" Escape
wait_exit 1000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
# The sanitizer build's report of its suppressed leaks is not the program speaking.
said=$(grep -v -e '^-*$' -e '^Suppressions used:' -e '^ *count  *bytes' -e '^ *[0-9][0-9]*  *[0-9]' \
    "$WORK/program.log" || true)
[[ -z $said ]] || fail "the program said: $said"

analyse_recording
counts=$(awk -v s="$STEADY_SLACK" '{
    for (i = 1; i <= NF; ++i) {
        if ($i > 600 - s && $i < 600 + s) ++a; else if ($i > 500 - s && $i < 500 + s) ++b
        else if ($i > 750 - s && $i < 750 + s) ++c; else if ($i > 1200) ++gap
    }
} END { print a + 0, b + 0, c + 0, gap + 0 }' <<<"$INTERVALS")
read -r at600 at500 at750 gaps <<<"$counts"
log "intervals: $at600 of 600 ms, $at500 of 500 ms, $at750 of 750 ms, $gaps silences"
((at600 >= 3)) || fail "PlayPause did not click at 600 ms"
((at500 >= 3)) || fail "Next did not click preset 2 at 500 ms"
((at750 >= 3)) || fail "Next did not click preset 5, nor On/Off, at 750 ms"
((gaps >= 2)) || fail "PlayPause and Stop did not stop the click"
log "ok"
