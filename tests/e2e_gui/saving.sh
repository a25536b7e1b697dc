# Shared by the tests that end the program while it saves (sourced after session.sh): the scratch
# folder with its presets, the program started in it, a save made undisturbed, and saves made one
# after another.

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

# The scratch folder: the sounds, the old record of preset 1 in $WORK/old.dat, and as preset 2 a
# record whose comments have $1 lines, long enough that a save takes a while.
prepare_presets() {
    mkdir -p "$WORK/app"
    cp -r "$SOURCE_DIR/sounds" "$WORK/app/"
    bank_record 1000 0 Largo 60 60 1 0 2 3 'an older preset' >"$WORK/old.dat"
    long_record "$1" >"$WORK/app/bank2.dat"
}

# A text of 255 to 65533 characters: the marker, FF and the length as a 16-bit value.
utf16_long() {
    local n=${#1}
    printf '\xff\xfe\xff\xff'"$(printf '\\x%02x\\x%02x' $((n & 255)) $((n >> 8)))"
    printf '%s' "$1" | iconv -t UTF-16LE
}

# A record at "80 Andante" whose comments have $1 lines.
long_record() {
    local comments="" line i
    for ((i = 0; i < $1; ++i)); do
        printf -v line 'line %04d of a long preset\r\n' "$i"
        comments+=$line
    done
    le32 750; le32 0; utf16 Andante; utf16 80; le32 80; le32 16; le32 0; le32 1; le32 0
    utf16_long "$comments"
}
