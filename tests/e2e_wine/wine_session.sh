# Shared by the end-to-end tests of the Windows program under Wine (sourced after session.sh and
# sound.sh, with tests/e2e_wine/wine-program as the program): a Wine server of each test's own,
# ended with it; a longer wait for the first window, as Wine starts slowly; and the judge of the
# intervals. Needs WINE_EXE, WINELOADER and WINEPREFIX (scripts/test-windows sets them).
JUDGE=$SOURCE_DIR/tests/e2e_gui/judge-intervals
RATE_HZ=48000  # the null sink's rate, which the recorder keeps
# Wine's PulseAudio driver keeps only a few of its 10 ms periods in the server by default, and
# runs dry when a busy machine holds its thread back (then every later click is late by the gap):
# 100 ms, as a desktop's Wine is often set up. Its warnings name each time it ran dry.
export PULSE_LATENCY_MSEC=${PULSE_LATENCY_MSEC:-100}
export WINEDEBUG=-all,warn+pulse

# Each test its own Wine server on its own display: ended, and waited for, at the end, so that the
# next test does not connect to one that is shutting down.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
CLEANUP+=("wineserver -k 2>/dev/null; wineserver -w 2>/dev/null")

# Prints the id of the program's main window, waiting up to 60 s for it: a busy machine takes a
# while to start Wine.
wait_wine_window() {
    local id="" i
    for ((i = 0; i < 600; ++i)); do
        id=$(xdotool search --onlyvisible --name "$MAIN_TITLE" 2>/dev/null | head -n1) || true
        [[ -n $id ]] && break
        kill -0 "$PROGRAM" 2>/dev/null || fail "the program ended before its window appeared"
        sleep 0.1
    done
    [[ -n $id ]] || fail "the main window did not appear under Wine"
    sleep 1  # let it finish painting before keys reach it
    echo "$id"
}

# The program on a private display, playing into a private sound server that is recorded from
# before it starts, by a recorder that nothing moves; sets window.
start_wine_listening() {
    start_sound
    start_recording
    start_x
    start_program
    window=$(wait_wine_window)
}

# What Wine's sound driver said about running dry, for a failure's message.
wine_underflows() {
    local n
    n=$(grep -c 'Underflow' "$WORK/program.log" 2>/dev/null) || true
    ((${n:-0} == 0)) || echo " (Wine's PulseAudio stream ran dry $n times: a busy machine)"
}

# Clicks the main window at $1, $2 (pixels from its corner, as the dialog is laid out with Wine's
# fonts and no window manager), so that a control has the focus however Wine set it.
click_at() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.3
}
COMBO=(157 24)   # the tempo list
PRESET5=(25 136) # the preset button "5"
SLIDER=(225 216)  # the volume slider's thumb, at full volume

recorded_frames() { echo $((($(stat -c %s "$WORK/clicks.wav") - 44) / 2)); }

# Every interval between onsets from frame $1 to frame $2 of the recording is $3 ms, to a frame
# either way, and there are at least $4 of them.
judge_intervals() {
    local from=$1 to=$2 period=$(($3 * RATE_HZ / 1000)) least=$4 verdict status=0
    awk -v a="$from" -v b="$to" '$1 == "onset" && $2 >= a && $2 <= b { print $2 }' \
        "$WORK/onsets.txt" >"$WORK/judged.txt"
    verdict=$("$JUDGE" "$period" "$least" recorder="$WORK/judged.txt") || status=$?
    log "$3 ms ($period frames): ${verdict//$'\n'/; }"
    ((status == 0)) || fail "intervals of $3 ms not exact: $verdict$(wine_underflows)"
}
