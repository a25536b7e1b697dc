# Shared by the end-to-end tests (sourced): a private X server, a scratch folder holding a copy of
# sounds/, the program started in it, and the end of every process started here, also when a
# check fails. Arguments: METRONOME GUI_PROBE SOURCE_DIR.
set -euo pipefail
METRONOME=$1
PROBE=$2
SOURCE_DIR=$3
MAIN_TITLE='^Vorla Metronome 2007\.11\.11$'
WORK=$(mktemp -d /tmp/metronome-e2e-XXXXXX)
STARTED=()
# In the sanitizer build, the font library's caches are not our leaks.
export LSAN_OPTIONS="suppressions=$SOURCE_DIR/tests/e2e_gui/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# The sanitizer build looks for leaks as it ends, which takes up to a second on a busy machine: its
# limits for ending are three times as long. The normal build is held to the limits as given.
EXIT_SCALE=1
SANITIZED=0
if ldd "$METRONOME" 2>/dev/null | grep -q libasan; then EXIT_SCALE=3 SANITIZED=1; fi

CLEANUP=()  # commands to run at the end, before the processes are ended

cleanup() {
    local pid command
    for command in "${CLEANUP[@]}"; do
        eval "$command" || true
    done
    for pid in "${STARTED[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${STARTED[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    # E2E_KEEP names a folder to keep the test's files in, to look into a failure.
    [[ -n ${E2E_KEEP:-} ]] && cp -r "$WORK" "$E2E_KEEP"
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    # What was on the screen, for a failure that is about windows and keys.
    if [[ -n ${DISPLAY:-} ]]; then
        echo "windows shown: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null |
            paste -sd '|'); focus: $(xdotool getwindowfocus getwindowname 2>/dev/null)" >&2
    fi
    [[ -f $WORK/program.log ]] && sed 's/^/program: /' "$WORK/program.log" >&2
    exit 1
}
log() { echo "-- $*"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Xvfb picks a free display and writes its number to file descriptor 3.
start_x() {
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x800x24 3>"$WORK/display" \
        2>"$WORK/xvfb.log" &
    STARTED+=($!)
    local i
    for ((i = 0; i < 100; ++i)); do
        [[ -s $WORK/display ]] && break
        sleep 0.05
    done
    [[ -s $WORK/display ]] || fail "Xvfb did not start: $(tail -n 3 "$WORK/xvfb.log")"
    export DISPLAY=":$(head -n1 "$WORK/display")"
    log "X server on $DISPLAY"
}

# Starts the program in a scratch folder with the sounds; sets PROGRAM and STARTED_AT_MS.
start_program() {
    mkdir -p "$WORK/app"
    cp -r "$SOURCE_DIR/sounds" "$WORK/app/"
    STARTED_AT_MS=$(now_ms)
    (cd "$WORK/app" && exec "$METRONOME") >"$WORK/program.log" 2>&1 &
    PROGRAM=$!
    STARTED+=("$PROGRAM")
}

# Prints the id of the visible window whose title matches, waiting up to 10 s for it (polling
# often, so that the time to the first window can be read from the log).
wait_window() {
    local id="" i
    for ((i = 0; i < 500; ++i)); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
        [[ -n $id ]] && break
        sleep 0.02
    done
    [[ -n $id ]] || fail "no window titled $1"
    echo "$id"
}

# Waits up to 3 s until no visible window matches.
wait_window_gone() {
    local i
    for ((i = 0; i < 60; ++i)); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    fail "window $1 is still open"
}

# Sends keys to the focused window, the window given first taking the focus.
keys() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window"
    xdotool key --delay 60 "$@"
}

# Waits up to $1 ms for the program to end; sets EXIT_STATUS and EXIT_AFTER_MS.
wait_exit() {
    local limit=$(($1 * EXIT_SCALE)) from
    from=$(now_ms)
    while kill -0 "$PROGRAM" 2>/dev/null && (($(now_ms) - from < limit)); do
        sleep 0.01
    done
    EXIT_AFTER_MS=$(($(now_ms) - from))
    kill -0 "$PROGRAM" 2>/dev/null && fail "the program still runs ${limit} ms later"
    EXIT_STATUS=0
    wait "$PROGRAM" || EXIT_STATUS=$?
}

# A preset record as a bank file holds it, on standard output. Arguments: period (ms), eighths
# (0|1), tempo name, tempo number text, BPM, scale row, free entry (0|1), signature radio (0 to
# 11), sound radio (0 to 3), comments. Texts are ASCII, shorter than 255 characters.
bank_record() {
    le32 "$1"
    le32 "$2"
    utf16 "$3"
    utf16 "$4"
    le32 "$5"
    le32 "$6"
    le32 "$7"
    le32 "$8"
    le32 "$9"
    utf16 "${10}"
}
le32() {
    local v=$(($1 & 0xffffffff))
    printf "$(printf '\\x%02x' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24)))"
}
# The Unicode marker, the length in characters in one byte, then UTF-16LE.
utf16() {
    printf '\xff\xfe\xff'"$(printf '\\x%02x' "${#1}")"
    printf '%s' "$1" | iconv -t UTF-16LE
}
# Fails unless bank file $1 holds exactly the record bank_record makes of the other arguments.
check_bank() {
    local file=$WORK/app/$1
    shift
    [[ -f $file ]] || fail "no ${file##*/}: $(ls "$WORK/app")"
    bank_record "$@" >"$WORK/expected.dat"
    cmp "$WORK/expected.dat" "$file" || {
        od -An -c "$file" >&2
        fail "${file##*/} does not hold the preset that was saved"
    }
}
