# The judge of the Wine tests, given planted onsets: an exact grid passes; a late interval, a click
# displaced alone and a split click pass only as often as Wine's driver said it ran dry; an early
# click fails however often it did.
set -euo pipefail
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
RATE_HZ=48000
log() { echo "$*"; }
fail() { echo "$*" >"$WORK/failed"; exit 1; }
source "$(dirname "$0")/judge.sh"

# Onsets 600 ms apart from frame 1000, with $1 added to the frames of the clicks listed after it
# as "index:frames"; $2 times the driver ran dry.
plant() {
    local dry=$1
    shift
    awk -v changes="$*" 'BEGIN {
        n = split(changes, c, " ")
        for (i = 0; i < 12; ++i) {
            f = 1000 + i * 28800
            for (j = 1; j <= n; ++j) { split(c[j], kv, ":"); if (i >= kv[1] + 0) f += kv[2] }
            printf "onset %d 0 0.9 A 0\n", f
        }
    }' >"$WORK/onsets.txt"
    : >"$WORK/program.log"
    for ((k = 0; k < dry; ++k)); do echo "warn:pulse:pulse_underflow_callback Underflow"; done \
        >>"$WORK/program.log"
}
# Whether the judge passes the planted onsets.
passes() { (judge_intervals 0 100000000 600 8) >"$WORK/judged.log" 2>&1; }
check() {
    local want=$1 what=$2
    if passes; then got=pass; else got=fail; fi
    [[ $got == "$want" ]] || { echo "FAIL: $what: the judge says $got"; exit 1; }
    echo "ok: $what: $got"
}

plant 0
check pass "an exact grid"
plant 0 "5:2 6:-2"
check pass "a click 2 frames late"
plant 0 "5:3"
check fail "a click 3 frames late, the driver never dry"
plant 1 "5:4800"
check pass "a gap of 100 ms, the driver dry once"
plant 1 "5:4800 8:4800"
check fail "two gaps, the driver dry once"
plant 1 "5:217 6:-217"
check pass "one click late alone, the driver dry once"
plant 5 "5:-5000"
check fail "the clicks early, the driver dry five times"
# A split click: an extra onset 5 ms after click 5, then the rest late by the gap.
plant 1
awk '{ print } $2 == 1000 + 5 * 28800 { printf "onset %d 0 0.5 A 0\n", $2 + 240 }' \
    "$WORK/onsets.txt" | awk 'NR > 7 { $2 += 4800 } { print }' >"$WORK/split.txt"
mv "$WORK/split.txt" "$WORK/onsets.txt"
check pass "a click split by a gap, the driver dry once"
