# Shared by the tests that end the program while it saves (sourced after session.sh): the
# program started in the scratch folder, a save made undisturbed, and saves made one after another.

# Recalls preset 2 (seven tabs from the tempo list), goes on to the tiny Save button (nine more)
# and keeps pressing Enter, which opens the Save dialog and confirms preset 1 in turn.
save_repeatedly() {
    xdotool windowfocus --sync "$window" 2>/dev/null || return 0
    xdotool key --delay 20 Tab Tab Tab Tab Tab Tab Tab space Tab Tab Tab Tab Tab Tab Tab Tab Tab \
        2>/dev/null || return 0
    local i
    for ((i = 0; i < 40; ++i)); do
        xdotool key --delay 15 Return 2>/dev/null || return 0
    done
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
