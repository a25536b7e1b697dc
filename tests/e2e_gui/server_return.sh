# When the sound server comes back, a listener that is there before the click returns hears the
# first click on the grid, whole, and nothing before it: what was asked for while no server ran
# stays unheard. At "100 Andante" in "1/4" every click is an accent 600 ms (28800 frames) apart.
# Three returns, each judged from a recording that starts before the program reconnects: the
# program reaches the server through a link that is made again only once the recorder runs.
# Extra arguments: ONSET_ANALYSE PULSE_NULL_SINK; SOUND_SERVER chooses the server.
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"

PERIOD=28800

# Whether the program's stream is on the server.
program_plays() {
    pactl list short sink-inputs 2>/dev/null | grep -q .
}

start_sound
open_link gate
start_x
start_program_through gate
window=$(wait_window "$MAIN_TITLE")
keys "$window" Return  # On
sleep 1.5
program_plays || fail "the program does not play"

for round in 1 2 3; do
    shut_link gate
    "$PULSE" stop "$WORK/pulse"
    sleep 2.5  # the program retries once a second by now, clicking on its own clock meanwhile
    "$PULSE" start "$WORK/pulse" || fail "the server did not start again"
    "$PULSE" record "$WORK/pulse" "$WORK/back$round.wav" clicks
    for _ in $(seq 300); do
        pactl list short source-outputs 2>/dev/null | grep -q . && break
        sleep 0.01
    done
    program_plays && fail "round $round: the program was back before the recorder"
    sleep 0.3
    open_link gate
    for _ in $(seq 300); do
        program_plays && break
        sleep 0.01
    done
    program_plays || fail "round $round: the program did not come back"
    sleep 4
    "$PULSE" stop "$WORK/pulse"
    onsets=$("$ANALYSE" "$WORK/back$round.wav" | awk '$1 == "onset" { print $3, $4, $6 }')
    log "round $round (s, peak, frames since the last): $(tr '\n' ' ' <<<"$onsets")"
    count=$(wc -l <<<"$onsets")
    ((count >= 5)) || fail "round $round: $count clicks in 4 s"
    # Every interval from the first click on is one period, to the frame (or, on PipeWire, now
    # and then one period of the graph off, which is the server's: sound.sh); the first click is as
    # loud as the others (a click cut at its start would be quieter or an interval short). A stray
    # click of the old stream would come about a queue (170 ms) before the first.
    "$ANALYSE" "$WORK/back$round.wav" | awk '$1 == "onset" { print $2 }' >"$WORK/back$round.onsets"
    status=0
    out=$("$JUDGE" "${SERVER_PERIOD_SPARE[@]}" "$PERIOD" 4 recorder="$WORK/back$round.onsets") ||
        status=$?
    log "round $round: ${out//$'\n'/; }"
    ((status == 0)) || fail "round $round: the intervals were off"
    awk 'NR == 1 { first = $2 } NR > 1 && (last == "" || $2 > last) { last = $2 }
         END { exit !(first > 0.8 * last) }' <<<"$onsets" ||
        fail "round $round: the first click is quieter than the others"
    shut_link gate
    "$PULSE" start "$WORK/pulse" || fail "the server did not start again"
    open_link gate
    for _ in $(seq 300); do
        program_plays && break
        sleep 0.01
    done
    sleep 1
done

keys "$window" Escape
wait_exit 2000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
log "ok"
