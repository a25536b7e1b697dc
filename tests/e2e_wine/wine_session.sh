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

source "$SOURCE_DIR/tests/e2e_wine/judge.sh"
