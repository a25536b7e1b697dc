# Shared by the tests that listen (sourced after session.sh): a private sound server for the
# program to play into, its recording, and what the onset analyser finds in it. Extra arguments:
# ONSET_ANALYSE PULSE_NULL_SINK (tools of the audio harness).
ANALYSE=$4
PULSE=$5
# Steady intervals are placed to the frame, but a busy machine may delay the sound output.
STEADY_SLACK=15
JUDGE=$(dirname "${BASH_SOURCE[0]}")/judge-intervals

# Before start_program, so that the program finds this server rather than none.
# Sets SERVER_REALTIME to 1 when the server runs with real-time scheduling, as a desktop runs it
# (pulse-null-sink asks for it). Without it, a moment's load makes a PipeWire graph miss periods,
# which moves every stream in it alike: its listeners then hear the server's timing, not the
# program's. METRONOME_E2E_REALTIME=required (CI) insists on it.
start_sound() {
    "$PULSE" start "$WORK/pulse" || fail "no sound server"
    CLEANUP+=("\"$PULSE\" stop \"$WORK/pulse\"")
    export "$(cat "$WORK/pulse/env")"
    # PipeWire's own clients find its socket here (the program's native output).
    [[ -S $WORK/pulse/pipewire-0 ]] && export PIPEWIRE_REMOTE="$WORK/pulse/pipewire-0"
    SERVER_REALTIME=1
    "$PULSE" realtime "$WORK/pulse" || SERVER_REALTIME=0
    if ((SERVER_REALTIME == 0)) && [[ ${METRONOME_E2E_REALTIME:-} == required ]]; then
        fail "the sound server runs without real-time scheduling (rtprio limit: $(ulimit -r))"
    fi
}

# A way in to the server that a test can shut and open again: links NAME to its sockets (and
# NAME-pw to PipeWire's own, for the program's native output), and start_program_through NAME
# gives the program those links rather than the sockets.
open_link() {
    ln -sfn "${PULSE_SERVER#unix:}" "$WORK/$1"
    [[ -z ${PIPEWIRE_REMOTE:-} ]] || ln -sfn "$PIPEWIRE_REMOTE" "$WORK/$1-pw"
}
shut_link() {
    rm -f "$WORK/$1" "$WORK/$1-pw"
}
start_program_through() {
    if [[ -n ${PIPEWIRE_REMOTE:-} ]]; then
        PULSE_SERVER=unix:$WORK/$1 PIPEWIRE_REMOTE=$WORK/$1-pw start_program
    else
        PULSE_SERVER=unix:$WORK/$1 start_program
    fi
}

# The sink of each of the program's streams, one a line: every stream played but the reference's.
program_sinks() {
    pactl list sink-inputs 2>/dev/null | awk '
        /^Sink Input #/ { if (n++ && app != "\"reference-clicker\"") print sink; app = ""; sink = "" }
        $1 == "Sink:" { sink = $2 }
        $1 == "application.name" { app = $3 }
        END { if (n && app != "\"reference-clicker\"") print sink }'
}

references_playing() {
    pactl list sink-inputs 2>/dev/null | grep -c 'application.name = "reference-clicker"' || true
}

# The reference client (REFERENCE_CLICKER), from now until the server stops: a frame-counting click
# every 600 ms on the left channel of sink $1, which it shares with the program. What the sink or a
# listener loses or repeats of the whole mix it hears too; judge-intervals --reference sets that
# apart. Returns once it plays.
start_reference() {
    local before
    before=$(references_playing)
    "$REFERENCE_CLICKER" 600 3600 "$1" 200 left >/dev/null 2>&1 &
    STARTED+=("$!")
    for _ in $(seq 200); do
        (($(references_playing) > before)) && return 0
        sleep 0.05
    done
    fail "the reference client did not play on sink $1"
}

start_recording() {
    "$PULSE" record "$WORK/pulse" "$WORK/clicks.wav" || fail "no recording"
}

# The program on a private display, playing into a private sound server that is being recorded;
# sets window to the program's main window. The recorder is there before the program: one that
# joins a stream already playing may lose or repeat a server period of what it hears.
start_listening() {
    start_sound
    start_recording
    start_x
    start_program
    window=$(wait_window "$MAIN_TITLE")
}

# Ends the recording and reads it. Sets RATE, FRAMES, ONSETS (one "frame A|R" line per click),
# PATTERN (A or R per click), INTERVALS (ms, one per click after the first) and TONES (one line
# per steady tone: first and last frame, cycles, Hz, its peak, the peak of what follows it), and
# logs them.
analyse_recording() {
    "$PULSE" stop "$WORK/pulse"
    # E2E_CAPTURES names a folder to keep the recordings in, to listen to a failure.
    if [[ -n ${E2E_CAPTURES:-} ]]; then
        local name=${0##*/}
        cp "$WORK/clicks.wav" "$E2E_CAPTURES/${name%.sh}-$(date +%H%M%S).wav"
    fi
    "$ANALYSE" "$WORK/clicks.wav" >"$WORK/onsets.txt" || fail "the capture cannot be read"
    RATE=$(awk '$1 == "rate" { print $2 }' "$WORK/onsets.txt")
    FRAMES=$((($(stat -c %s "$WORK/clicks.wav") - 44) / 2))
    ONSETS=$(awk '$1 == "onset" { print $2, $5 }' "$WORK/onsets.txt")
    PATTERN=$(awk '$1 == "onset" { printf "%s", $5 }' "$WORK/onsets.txt")
    INTERVALS=$(awk -v r="$RATE" '$1 == "onset" && $6 > 0 { printf "%.1f ", $6 * 1000 / r }' \
        "$WORK/onsets.txt")
    TONES=$(awk '$1 == "tone" { $1 = ""; print substr($0, 2) }' "$WORK/onsets.txt")
    log "onsets: $PATTERN"
    log "intervals (ms): $INTERVALS"
    [[ -z $TONES ]] ||
        log "tones (first and last frame, cycles, Hz, peak, peak after): ${TONES//$'\n'/; }"
}

# A second recorder on the sink "clicks" that notes when each piece of its sound arrives
# (timed_recorder.py): $WORK/timed.wav and $WORK/timed.times. Its latency is TIMED_LATENCY_MS, so
# the sink mixes at most that far ahead of its clock. Start it before the program.
TIMED_LATENCY_MS=5
start_timed_recording() {
    local rt=()
    chrt -f 10 true 2>/dev/null && rt=(chrt -f 10)
    ("${rt[@]}" parec --raw --device=clicks.monitor --rate=48000 --channels=1 --format=s16le \
        --latency-msec=$TIMED_LATENCY_MS | python3 "$SOURCE_DIR/tests/e2e_gui/timed_recorder.py" \
        "$WORK/timed.wav" "$WORK/timed.times") </dev/null >/dev/null 2>&1 &
    TIMED_PIPE=$!
    STARTED+=("$TIMED_PIPE")
    for _ in $(seq 100); do
        [[ -s $WORK/timed.times ]] && return 0
        sleep 0.05
    done
    fail "the timed recorder did not start"
}

# Ends the timed recording and finds its clicks: $WORK/timed-onsets.txt.
stop_timed_recording() {
    pkill -P "$TIMED_PIPE" parec 2>/dev/null || true
    wait "$TIMED_PIPE" 2>/dev/null || true
    "$ANALYSE" "$WORK/timed.wav" >"$WORK/timed-onsets.txt" ||
        fail "the timed recording cannot be read"
}

# Whether $1 ms lies within $3 ms of $2 ms.
near() {
    awk -v m="$1" -v p="$2" -v s="$3" 'BEGIN { exit !(m > p - s && m < p + s) }'
}

# Prints how many of the intervals $2 lie within STEADY_SLACK of $1 ms, and how many do not.
tally() {
    awk -v p="$1" -v s="$STEADY_SLACK" '{
        for (i = 1; i <= NF; ++i) if ($i > p - s && $i < p + s) ++on; else ++off
    } END { print on + 0, off + 0 }' <<<"$2"
}

# A change of tempo while the click runs: intervals of $1 ms, then at least $3 of $2 ms and never
# $1 ms again. At most $4 (default 3) stray: the keypresses restart the timer at some phase of the
# beat, and a busy machine may hold the sound output back once. The first interval is left out:
# On/Off plays its click at once, off the timer's grid, and under load it may stray further.
check_tempo_change() {
    local from=$1 to=$2 least=$3 most=${4:-3} kinds
    kinds=$(awk -v a="$from" -v b="$to" -v s="$STEADY_SLACK" '{
        for (i = 2; i <= NF; ++i)
            printf("%s", ($i > a - s && $i < a + s) ? "o" : ($i > b - s && $i < b + s) ? "n" : "x")
    }' <<<"$INTERVALS")
    local old=${kinds//[^o]/} new=${kinds//[^n]/} strays=${kinds//[^x]/}
    log "${#old} intervals of $from ms, ${#new} of $to ms, ${#strays} others"
    ((${#old} >= 1)) || fail "the click did not start at $from ms"
    ((${#new} >= least)) || fail "expected at least $least intervals of $to ms, heard ${#new}"
    [[ ! $kinds =~ n.*o ]] || fail "intervals of $from ms came back after $to ms"
    ((${#strays} <= most)) || fail "${#strays} intervals are neither $from nor $to ms"
}
