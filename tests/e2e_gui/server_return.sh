# When the sound server comes back, a listener that is there before the click returns hears the
# first click on the grid, whole, and nothing before it: what was asked for while no server ran
# stays unheard. At "100 Andante" in "1/4" every click is an accent 600 ms (28800 frames) apart.
# Three returns, each judged from a stereo recording that starts before the program reconnects:
# the program reaches the server through a link that is made again only once the recorder runs.
# A frame-counting reference client plays on the left channel of the same sink, the program being
# alone on the right: what the sink or the recorder loses of the whole mix, the reference loses
# too, and it is not held against the program.
# Extra arguments: ONSET_ANALYSE PULSE_NULL_SINK REFERENCE_CLICKER; SOUND_SERVER chooses the
# server.
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"
REFERENCE_CLICKER=$6

PERIOD=28800

# Whether the program's stream is on the server.
program_plays() {
    [[ -n $(program_sinks) ]]
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
    RECORD_CHANNELS=2 "$PULSE" record "$WORK/pulse" "$WORK/back$round.wav"
    start_reference clicks
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
    "$ANALYSE" --right "$WORK/back$round.wav" | awk '$1 == "onset"' >"$WORK/back$round.program"
    onsets=$(awk '{ print $3, $4, $6 }' "$WORK/back$round.program")
    log "round $round (s, peak, frames since the last): $(tr '\n' ' ' <<<"$onsets")"
    count=$(wc -l <<<"$onsets")
    ((count >= 5)) || fail "round $round: $count clicks in 4 s"
    # Every interval from the first click on is one period, to the frame, unless the reference
    # heard the whole mix lose or repeat as much; the first click is as loud as the others (a click
    # cut at its start would be quieter or an interval short). A stray click of the old stream
    # would come about a queue (170 ms) before the first.
    awk '{ print $2 }' "$WORK/back$round.program" >"$WORK/back$round.onsets"
    "$ANALYSE" --left-less-right "$WORK/back$round.wav" | awk '$1 == "onset" { print $2 }' \
        >"$WORK/back$round.reference"
    status=0
    out=$("$JUDGE" "$PERIOD" 4 --reference recorder="$WORK/back$round.reference" \
        recorder="$WORK/back$round.onsets") || status=$?
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
