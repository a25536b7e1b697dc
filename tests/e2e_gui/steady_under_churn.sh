# The click keeps its frames while other programs change the graph's pace: for SECONDS (default
# 150) at "100 Andante" in "1/4", another client with a 5 ms latency plays for 1.5 s every 3 s and
# a recorder with a 5 ms latency joins for 1 s every 5 s. The judge is the sink itself, a pipe sink
# whose server writes every frame it plays: every interval is 600 ms to within 2 samples, and the
# tempo within 1 ppm. A frame-counting reference client plays into a sink of its own at the same
# time, with the same churn; when it loses frames too, the machine lost them, and the run is void.
# Extra arguments: ONSET_ANALYSE PULSE_NULL_SINK PIPE_DRAIN REFERENCE_CLICKER [SECONDS].
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"
PIPE_DRAIN=$6
source "$(dirname "$0")/pipe_judge.sh"
CLICKER=$7
SECONDS_LONG=${8:-150}
export SOUND_SERVER=pipewire

start_sound
start_pipe_judge program
start_pipe_judge reference
pactl set-default-sink program
mapfile -t churn < <(start_churn program; start_churn reference)
CLEANUP+=("stop_churn ${churn[*]}")
start_x
start_program
window=$(wait_window "$MAIN_TITLE")
"$CLICKER" 600 "$SECONDS_LONG" reference 200 &
clicker=$!
STARTED+=("$clicker")
keys "$window" Return  # On
sleep "$SECONDS_LONG"
keys "$window" Escape
wait_exit 2000
wait "$clicker" || true
stop_churn "${churn[@]}"
"$PULSE" stop "$WORK/pulse"
stop_pipe_judges

program=$(judge_clicks "$WORK/program.wav" 600)
reference=$(judge_clicks "$WORK/reference.wav" 600)
log "program:   $program"
log "reference: $reference"
# "N intervals, K off by more than 2 samples, worst W ms, tempo P ppm"
read -r intervals _ off _ _ _ _ _ _ _ _ _ _ ppm _ <<<"$program"
read -r _ _ reference_off _ <<<"$reference"
((intervals >= SECONDS_LONG * 10 / 6 - 3)) || fail "only $intervals intervals were heard"
if ((off > 0)) || awk -v p="$ppm" 'BEGIN { exit !(p > 1 || p < -1) }'; then
    if ((reference_off > 0)); then
        log "void: the reference lost frames too (load average $(cut -d' ' -f1-3 /proc/loadavg))"
        exit 77
    fi
    fail "the program's clicks were off the grid: $program"
fi
log "ok"
