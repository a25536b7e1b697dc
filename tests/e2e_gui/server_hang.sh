# On/Off pressed while the sound server hangs: once it goes on, the click follows the last On/Off
# at once and keeps its grid from there, with no stray clicks and no gaps. At "100 Andante" in "1/4"
# every click is an accent 600 ms (28800 frames) apart. A timed recorder listens from before the
# program starts; the server is stopped (SIGSTOP) for 3.5 s, during which On/Off is pressed four
# times, the click ending up on. The null sink stops with the server and catches up after it,
# which resume_judge.py allows for. Extra arguments: ONSET_ANALYSE PULSE_NULL_SINK; SOUND_SERVER
# chooses the server.
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"

PERIOD=28800

# The processes of the server, stopped and resumed together.
server_pids() {
    local name
    for name in pulse pipewire pipewire-pulse wireplumber; do
        if [[ -f $WORK/pulse/$name.pid ]]; then cat "$WORK/pulse/$name.pid"; fi
    done
}

start_sound
start_timed_recording
start_x
start_program
window=$(wait_window "$MAIN_TITLE")
keys "$window" Return  # On
sleep 2

# shellcheck disable=SC2046
kill -STOP $(server_pids)
CLEANUP=("kill -CONT $(server_pids | tr '\n' ' ') 2>/dev/null" "${CLEANUP[@]}")
sleep 0.1
for _ in 1 2 3 4; do  # Off, On, Off, On
    keys "$window" Return
    sleep 0.3
done
sleep 2
# shellcheck disable=SC2046
kill -CONT $(server_pids)
resumed=$EPOCHREALTIME
sleep 6
stop_timed_recording
verdict=$(python3 "$(dirname "$0")/resume_judge.py" "$WORK/timed-onsets.txt" "$WORK/timed.times" \
    "$resumed" "$PERIOD") || fail "after the hang: $verdict"
log "after the hang: $verdict"

keys "$window" Escape
wait_exit 2000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
log "ok"
