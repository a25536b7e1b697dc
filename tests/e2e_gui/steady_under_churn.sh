# The click keeps its frames while other programs change the graph's pace: for SECONDS (default
# 150) at "100 Andante" in "1/4", another client with a 5 ms latency plays for 1.5 s every 3 s and
# a recorder with a 5 ms latency joins for 1 s every 5 s. The judge is the sink itself, a stereo
# pipe sink whose server writes every frame it plays. A frame-counting reference client plays into
# the same sink on the left channel only: a period that the sink drops from the whole mix is heard
# alike in both clients and is the sink's (judge_mix). Every other interval of the program is
# 600 ms to within 2 samples, and its tempo within 1 ppm.
# Extra arguments: ONSET_ANALYSE PULSE_NULL_SINK PIPE_DRAIN REFERENCE_CLICKER [SECONDS].
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"
PIPE_DRAIN=$6
source "$(dirname "$0")/pipe_judge.sh"
CLICKER=$7
SECONDS_LONG=${8:-150}
export SOUND_SERVER=pipewire

start_sound
start_pipe_judge judge stereo
pactl set-default-sink judge
mapfile -t churn < <(start_churn judge)
CLEANUP+=("stop_churn ${churn[*]}")
start_x
start_program
window=$(wait_window "$MAIN_TITLE")
"$CLICKER" 600 "$SECONDS_LONG" judge 200 left &
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

program=$(judge_mix "$WORK/judge.wav" 600 program)
log "program:   $program"
log "reference: $(judge_mix "$WORK/judge.wav" 600 reference)"
# "N intervals, K off by more than 2 samples, worst W ms, tempo P ppm; ..."
read -r intervals _ off _ _ _ _ _ _ _ _ _ _ ppm _ <<<"$program"
((intervals >= SECONDS_LONG * 10 / 6 - 3)) || fail "only $intervals intervals were heard"
if ((off > 0)) || awk -v p="$ppm" 'BEGIN { exit !(p > 1 || p < -1) }'; then
    fail "the program's clicks were off the grid: $program"
fi
log "ok"
