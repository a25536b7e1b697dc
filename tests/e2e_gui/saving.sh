# Shared by the tests that end the program while it saves (sourced after session.sh): the
# program started in the scratch folder, a save made undisturbed, and saves made one after another.

# Recalls preset 2 (seven tabs from the tempo list), goes on to the tiny Save button (nine more)
# and keeps pressing Enter, which opens the Save dialog and confirms preset 1 in turn.
save_repeatedly() {
    # Each xdotool runs as a child that SIGTERM takes down with this shell: one left running
    # would type its keys into the next program started.
    local child
    trap 'kill "$child" 2>/dev/null; exit 0' TERM
    keystroke() {
        xdotool "$@" 2>/dev/null &
        child=$!
        wait "$child"
    }
    keystroke windowfocus --sync "$window" || return 0
    keystroke key --delay 20 Tab Tab Tab Tab Tab Tab Tab space Tab Tab Tab Tab Tab Tab Tab Tab Tab ||
        return 0
    local i
    for ((i = 0; i < 40; ++i)); do
        keystroke key --delay 15 Return || return 0
    done
}
# Ends save_repeatedly started in the background as $1, and the keys it was typing. A key whose
# press went out and whose release did not stays down in the X server, and its autorepeat would
# type into the next program: every key it types is released.
stop_saving() {
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
    xdotool keyup Tab space Return 2>/dev/null || true
}

start() {
    (cd "$WORK/app" && exec "$METRONOME") >"$WORK/program.log" 2>&1 &
    PROGRAM=$!
    STARTED+=("$PROGRAM")
    window=$(wait_window "$MAIN_TITLE")
}
# Preset 2 recalled and saved as preset 1, then Escape.
save_undisturbed() {
    start
    keys "$window" Tab Tab Tab Tab Tab Tab Tab space Tab Tab Tab Tab Tab Tab Tab Tab Tab Return
    local save
    save=$(wait_window '^Save User Preset$')
    keys "$save" Return
    wait_window_gone '^Save User Preset$'
    keys "$window" Escape
    wait_exit 5000
    ((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
}
