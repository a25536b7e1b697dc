# Saving where the bank file is not a plain file in a writable folder, on the real windows, as a
# user without special rights ("nobody" when the test runs as the superuser, who may write any
# folder): a bank file in a folder closed to that user is written in place; a bank file that cannot
# be made there, and a read-only one, give the stop-icon box and stay as they were; a bank file
# that is a symbolic link keeps the link and its target gets the record.
source "$(dirname "$0")/session.sh"
start_x

as_user=()
program=$METRONOME
if (($(id -u) == 0)); then
    # That user may not enter the checkout (a root's home is closed to others), so it gets what it
    # needs in the scratch folder: the program, the sanitizer's suppressions, a home and a runtime
    # folder of its own.
    chmod 755 "$WORK"
    mkdir -p "$WORK/user/bin" "$WORK/user/home" "$WORK/user/run"
    cp "$METRONOME" "$WORK/user/bin/"
    cp "$SOURCE_DIR/tests/e2e_gui/lsan.supp" "$WORK/user/"
    chmod -R a+rX "$WORK/user"
    chown 65534:65534 "$WORK/user/home" "$WORK/user/run"
    chmod 700 "$WORK/user/run"
    program=$WORK/user/bin/${METRONOME##*/}
    export LSAN_OPTIONS="suppressions=$WORK/user/lsan.supp${LSAN_OPTIONS#"suppressions=$SOURCE_DIR/tests/e2e_gui/lsan.supp"}"
    as_user=(env HOME="$WORK/user/home" XDG_RUNTIME_DIR="$WORK/user/run"
        setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
user_owns() { (($(id -u) == 0)) && chown 65534:65534 "$@" || true; }

# The record the program saves from its start state, and an older one it differs from.
OLD=(1000 0 Largo 60 60 1 0 2 3 'an older preset')
NEW=(600 0 Andante 100 100 21 0 0 0 'Place here comments for 1...8 user presets')

mkdir -p "$WORK/app" "$WORK/synced"
cp -r "$SOURCE_DIR/sounds" "$WORK/app/"
bank_record "${OLD[@]}" >"$WORK/app/bank1.dat"
bank_record "${OLD[@]}" >"$WORK/app/bank3.dat"
bank_record "${OLD[@]}" >"$WORK/synced/preset four.dat"
ln -s "../synced/preset four.dat" "$WORK/app/bank4.dat"
user_owns "$WORK/app/bank1.dat" "$WORK/app/bank3.dat" "$WORK/synced" "$WORK/synced/preset four.dat"
chmod 444 "$WORK/app/bank3.dat"
chmod -R a+rX "$WORK/app/sounds"
if (($(id -u) == 0)); then chmod 755 "$WORK/app"; else chmod 555 "$WORK/app"; fi
CLEANUP+=("chmod 755 '$WORK/app'")

(cd "$WORK/app" && exec "${as_user[@]}" "$program") >"$WORK/program.log" 2>&1 &
PROGRAM=$!
STARTED+=("$PROGRAM")
window=$(wait_window "$MAIN_TITLE")

# Saves preset $1 through the Save dialog, from the tiny Save button, which keeps the focus after
# the dialog and after a message box: past OK and Cancel to the list and down to the preset.
save_preset() {
    local downs=() i
    for ((i = 1; i < $1; ++i)); do downs+=(Down); done
    keys "$window" Return
    local save
    save=$(wait_window '^Save User Preset$')
    keys "$save" Tab Tab "${downs[@]}" Return
    wait_window_gone '^Save User Preset$'
}
# Fails unless a stop-icon box comes up within 2 s; keeps a picture of it, then closes it.
expect_box() {
    local box i
    for ((i = 0; i < 100; ++i)); do
        box=$(xdotool search --onlyvisible --name '^metronome$' 2>/dev/null | head -n1) || true
        [[ -n $box ]] && break
        sleep 0.02
    done
    [[ -n $box ]] || fail "$1: no message box"
    sleep 0.2
    [[ -n ${E2E_CAPTURES:-} ]] && import -window "$box" "$E2E_CAPTURES/box-$2.png"
    keys "$box" Return
    wait_window_gone '^metronome$'
    log "$1: the box came up"
}
no_box() {
    sleep 0.3
    ! xdotool search --onlyvisible --name '^metronome$' >/dev/null 2>&1 || fail "$1: a message box"
}

keys "$window" shift+Tab  # from the tempo list to the tiny Save button
save_preset 1
no_box "in place"
save_preset 2
expect_box "a file the folder cannot take" new-file
save_preset 3
expect_box "a read-only file" read-only
save_preset 4
no_box "a symbolic link"
keys "$window" Escape
wait_exit 5000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"

check_bank bank1.dat "${NEW[@]}"
[[ ! -e $WORK/app/bank2.dat ]] || fail "bank2.dat was made"
bank_record "${OLD[@]}" | cmp - "$WORK/app/bank3.dat" || fail "the read-only bank3.dat changed"
[[ -L $WORK/app/bank4.dat ]] || fail "bank4.dat is no longer a link"
bank_record "${NEW[@]}" | cmp - "$WORK/synced/preset four.dat" || fail "the link's target lacks the record"
left=$(find "$WORK/app" "$WORK/synced" -name '.*.tmp-*')
[[ -z $left ]] || fail "temporary files left: $left"
log "ok"
