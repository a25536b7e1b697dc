# Shared by the benchmarks that judge a stream by the sink itself (sourced after session.sh and
# sound.sh, with the server started): a pipe sink writes every frame it plays into a FIFO, drained
# into a WAV file; no recorder stream stands between that could lose frames of its own. Only
# PipeWire clocks a pipe sink in real time: PulseAudio's writes as fast as it is read.
# Also the churn that changes the graph's pace: other clients and recorders coming and going.
PIPE_DRAIN=${PIPE_DRAIN:-}

# A pipe sink NAME (16-bit, 48 kHz, mono, with "stereo" two channels, or with a number that many,
# aux0, aux1, ..., one for each client) whose sound goes to $WORK/NAME.wav.
start_pipe_judge() {
    local name=$1 channels=1 option=() map=()
    [[ ${2:-} == stereo ]] && channels=2 option=(--stereo)
    if [[ ${2:-} =~ ^[0-9]+$ ]]; then
        channels=$2 option=(--channels="$2")
        map=(channel_map="$(seq -s, -f 'aux%g' 0 $(($2 - 1)))")
    fi
    [[ -x $PIPE_DRAIN ]] || fail "no pipe-drain"
    mkfifo "$WORK/$name.fifo"
    "$PIPE_DRAIN" "${option[@]}" "$WORK/$name.fifo" "$WORK/$name.wav" &
    local pid=$!
    STARTED+=("$pid")
    echo "$pid" >"$WORK/$name.drain"
    pactl load-module module-pipe-sink file="$WORK/$name.fifo" sink_name="$name" format=s16le \
        rate=48000 channels="$channels" "${map[@]}" >/dev/null || fail "no pipe sink $name"
    for _ in $(seq 100); do
        pactl list short sinks | grep -qw "$name" && return 0
        sleep 0.1
    done
    fail "the pipe sink $name did not appear"
}

# Ends the drains, finishing their files (after the server has stopped).
stop_pipe_judges() {
    local file pid
    for file in "$WORK"/*.drain; do
        [[ -f $file ]] || continue
        pid=$(cat "$file")
        kill -INT "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        rm -f "$file"
    done
}

# On sink NAME until killed: another client with a 5 ms latency plays silence for 1.5 s every 3 s,
# and a recorder with a 5 ms latency listens for 1 s every 5 s. Each joining client makes the graph
# run faster (5.3 ms periods), each leaving one slower again, and the server sets up its stream.
# Prints the pids to kill.
start_churn() {
    local sink=$1
    (while true; do
        timeout 1.5 pacat --raw --latency-msec=5 --device="$sink" </dev/zero >/dev/null 2>&1 || true
        sleep 1.5
    done) >/dev/null 2>&1 &
    echo $!
    (while true; do
        sleep 4
        timeout 1 parec --raw --latency-msec=5 --device="$sink.monitor" >/dev/null 2>&1 || true
    done) >/dev/null 2>&1 &
    echo $!
}

stop_churn() {
    local pid
    for pid in "$@"; do
        pkill -P "$pid" 2>/dev/null || true
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}

# The figures of clicks PERIOD_MS apart at 48 kHz, from the analyser's onsets of one client (the
# first input) and, if given, of another client in the same sink (the second input), from the
# second interval on (the first follows a key press): how many intervals, how many are off the
# period by more than 2 samples, the worst one's error (ms), and the tempo error from the second
# click to the last (ppm). An interval off by a number of frames is the sink's when the other
# client has intervals overlapping it off the same way by at least as much in all (a loss within
# one of its clicks splits between two intervals), leaving out those off by a whole number of
# periods (a click the other client did not play or was not heard is no measure of the sink): it
# is counted apart and left out of the figures.
INTERVAL_FIGURES='
    function whole_clicks(e,  r) {
        r = e % (p * 48)
        return r <= 2 && r >= -2 || r >= p * 48 - 2 || r <= 2 - p * 48
    }
    $1 == "rate" { rate = $2 }
    $1 != "onset" || $6 <= 0 { next }
    FILENAME != current { current = FILENAME; file++; k = 0 }
    ++k == 1 { if (file == 1) first = $2; next }
    { e = $6 - p * 48; off_ = e > 2 || e < -2 }
    file == 2 { if (off_) { n2++; a2[n2] = $2 - $6; b2[n2] = $2; e2[n2] = e }; next }
    { n++; last = $2; a = e < 0 ? -e : e
      if (!off_) { if (a > worst) worst = a; next }
      a1[++n1] = $2 - $6; b1[n1] = $2; e1[n1] = e }
    END {
        for (i = 1; i <= n1; i++) {
            same = 0
            for (j = 1; j <= n2; j++)
                if (a2[j] < b1[i] && a1[i] < b2[j] && e1[i] * e2[j] > 0 && !whole_clicks(e2[j]))
                    same += e2[j]
            alike = (same < 0 ? -same : same) >= (e1[i] < 0 ? -e1[i] : e1[i]) - 2 && same * e1[i] > 0
            if (alike) { sink++; lost += e1[i]; continue }
            off++; a = e1[i] < 0 ? -e1[i] : e1[i]; if (a > worst) worst = a
        }
        periods = int((last - first - lost) / (p * 48) + 0.5)  # a click lost whole still counts
        ppm = periods ? ((last - first - lost) / periods / (p * 48) - 1) * 1e6 : 0
        printf "%d intervals, %d off by more than 2 samples, worst %.3f ms, tempo %+.2f ppm", \
            n, off, worst * 1000 / rate, ppm
        if (file == 2) printf "; %d more heard alike from the other client (the sink%cs)", sink, 39
        printf "\n" }'

# Prints the judgment of FILE.wav for clicks PERIOD_MS apart (INTERVAL_FIGURES).
judge_clicks() {
    awk -v p="$2" "$INTERVAL_FIGURES" <("$ANALYSE" "$1")
}

# The judgment of one of two clients that share a stereo sink, FILE.wav: the program plays on both
# channels, the reference on the left only, both clicking every PERIOD_MS. WHO is "program" (the
# right channel) or "reference" (the left less the right). The sink, or the listener, may lose or
# repeat frames of the whole mix; both clients then hear it alike (INTERVAL_FIGURES).
judge_mix() {
    local file=$1 period=$2 who=$3 own=--right other=--left-less-right
    [[ $who == reference ]] && own=--left-less-right other=--right
    judge_parts "$file" "$period" "$own" "$other"
}

# The same for any two parts of FILE.wav, each the analyser's option that reads it ("--right",
# "--channel 3").
judge_parts() {
    local file=$1 period=$2 own=$3 other=$4
    # shellcheck disable=SC2086 # an option and its argument
    awk -v p="$period" "$INTERVAL_FIGURES" <("$ANALYSE" $own "$file") <("$ANALYSE" $other "$file")
}
