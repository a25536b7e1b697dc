# Shared by the end-to-end tests of the Windows program under Wine (sourced after session.sh and
# sound.sh, with tests/e2e_wine/wine-program as the program): a Wine server of each test's own,
# ended with it; a longer wait for the first window, as Wine starts slowly; and the judge of the
# intervals. Needs WINE_EXE, WINELOADER and WINEPREFIX (scripts/test-windows sets them).
RATE_HZ=48000  # the null sink's rate, which the recorder keeps
# Wine's PulseAudio driver says each time its stream ran dry ("Underflow"), which a busy machine
# makes it do now and then (see wine-program): the server then plays silence, and every later
# click is late by the gap.
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

# Clicks the main window at $1, $2 (pixels from its corner, as the dialog is laid out with Wine's
# fonts and no window manager), so that a control has the focus however Wine set it.
click_at() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.3
}
COMBO=(157 24)    # the tempo list
PRESET5=(25 136)  # the preset button "5"
SLIDER=(225 216)  # the volume slider's thumb, at full volume

recorded_frames() { echo $((($(stat -c %s "$WORK/clicks.wav") - 44) / 2)); }

# How many times Wine's PulseAudio driver said its stream ran dry.
underflows() { grep -c 'Underflow' "$WORK/program.log" 2>/dev/null || true; }

# Every interval between onsets from frame $1 to frame $2 of the recording is $3 ms, to 2 frames
# either way (a period of a fractional number of frames, such as 144 ms at 44.1 kHz, is placed to
# the nearest frame, then resampled to 48 kHz), and there are at least $4 of them.
#
# Where Wine's driver ran dry, the server played silence and every later click is late by the gap;
# a gap inside a click splits it in two, the second part heard as a click too soon. So, and only
# as often as the driver said it ran dry, a late interval is reported as the driver's gap, and an
# early "click" before a late one as a piece of a split click. Anything else off the period is the
# program's fault.
judge_intervals() {
    local from=$1 to=$2 period=$(($3 * RATE_HZ / 1000)) least=$4 verdict dry status=0
    dry=$(underflows)
    verdict=$(awk -v a="$from" -v b="$to" -v p="$period" -v least="$least" -v dry="$dry" -v r="$RATE_HZ" '
        $1 != "onset" || $2 < a || $2 > b { next }
        !seen { seen = 1; last = $2; next }
        {
            v = $2 - last
            if (v >= p - 2 && v <= p + 2) { ++exact; last = $2; next }
            if (v < p - 2) { ++pieces; list = list sprintf(" %+d at %.2f s (split?)", v - p, $2 / r); next }
            ++late; last = $2
            list = list sprintf(" %+d at %.2f s", v - p, $2 / r)
        }
        END {
            printf "%d exact, %d late, %d early pieces;%s\n", exact, late, pieces, list
            if (exact + late < least) exit 2
            if (late + pieces == 0) exit 0
            exit (late <= dry && pieces <= late) ? 3 : 1
        }' "$WORK/onsets.txt") || status=$?
    log "$3 ms ($period frames): $verdict"
    case $status in
        0) ;;
        2) fail "too few intervals of $3 ms: $verdict" ;;
        3) log "the late intervals are gaps of Wine's driver, which ran dry $dry time(s)" \
            "(a busy machine), not the program's" ;;
        *) fail "intervals of $3 ms not exact: $verdict (Wine's driver ran dry $dry times)" ;;
    esac
}
