# The judge of the server-change test, given planted records: a listener that drops or repeats a
# server period while the program is exact is blamed, not the program; a program one period off
# fails whoever listens; a period lost from the whole mix, which the reference client in the same
# sink hears too, is not the program's; a listener that misses a click is blamed; too few
# intervals are no pass.
set -euo pipefail
JUDGE=$(dirname "$0")/judge-intervals
WORK=$(mktemp -d /tmp/judge-intervals-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
PERIOD=28800
OPTS=()

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Writes to $1 the onsets of $2 clicks PERIOD apart from frame $3; the frames after click $4 (if
# given) move by $5 frames, and click $6 (if given) is left out.
clicks() {
    local file=$1 count=$2 from=$3 after=${4:-0} by=${5:-0} missing=${6:-0} i frame
    : >"$file"
    for ((i = 1; i <= count; ++i)); do
        frame=$((from + (i - 1) * PERIOD))
        ((after > 0 && i > after)) && frame=$((frame + by))
        ((i == missing)) || echo "$frame" >>"$file"
    done
}

# Runs the judge; fails unless its exit status is $1 and its output holds every text after it.
expect() {
    local want=$1 text status=0 out
    shift
    out=$("$JUDGE" "$PERIOD" 10 "${OPTS[@]}" "${ARGS[@]}") || status=$?
    echo "$out" | sed 's/^/   /'
    ((status == want)) || fail "exit status $status, expected $want"
    for text; do
        grep -qF -- "$text" <<<"$out" || fail "no \"$text\""
    done
}

echo "-- both listeners exact"
clicks "$WORK/a" 20 1000
clicks "$WORK/b" 20 53000
ARGS=(server="$WORK/a" recorder="$WORK/b")
expect 0 "19 intervals judged, 0 off, 0 listener faults"

echo "-- a recorder drops one period of 256 frames, the program is exact"
clicks "$WORK/b" 20 53000 7 -256
expect 0 "listener fault: recorder heard 28544 frames" "lost or repeated -256 frames" "0 off"

echo "-- a recorder repeats one period, heard first"
ARGS=(recorder="$WORK/b" server="$WORK/a")
clicks "$WORK/b" 20 53000 12 256
expect 0 "listener fault: recorder heard 29056 frames" "0 off, 1 listener faults"

echo "-- the program one period late: every listener hears it"
clicks "$WORK/a" 20 1000 7 256
clicks "$WORK/b" 20 53000 7 256
ARGS=(server="$WORK/a" recorder="$WORK/b")
expect 1 "program off: interval" "server 29056; recorder 29056;" "1 off"

echo "-- the program one period early, with a single listener"
clicks "$WORK/a" 20 1000 3 -256
ARGS=(server="$WORK/a")
expect 1 "server 28544;" "1 off"

echo "-- the program late, and a recorder dropping a period elsewhere"
clicks "$WORK/a" 20 1000 15 256
awk 'NR > 15 { $1 += 256 } NR > 5 { $1 -= 256 } { print }' <(clicks /dev/stdout 20 53000) \
    >"$WORK/b"
ARGS=(server="$WORK/a" recorder="$WORK/b")
expect 1 "listener fault: recorder heard 28544" "program off" "1 off, 1 listener faults"

echo "-- neither hears it exact, nor alike: not judged, and not the program's"
clicks "$WORK/a" 20 1000 7 512
clicks "$WORK/b" 20 53000 7 256
expect 0 "listeners disagree: interval at" "server 29312; recorder 29056; not judged" \
    "18 intervals judged, 0 off, 1 listener faults"

echo "-- a recorder that slips a period again and again, 11,520 frames in all: blamed each time"
clicks "$WORK/a" 20 1000
awk 'NR > 2 { $1 += 1024 * (NR - 2 < 10 ? NR - 2 : 10) } NR > 14 { $1 += 256 } { print }' \
    <(clicks /dev/stdout 20 53000) >"$WORK/b"
ARGS=(server="$WORK/a" recorder="$WORK/b")
expect 0 "19 intervals judged, 0 off, 11 listener faults"
grep -q "did not hear" <<<"$("$JUDGE" "$PERIOD" 10 "${ARGS[@]}")" && fail "a click taken as missed"

echo "-- where one listener stayed on alone, it is not judged"
clicks "$WORK/a" 20 1000 18 768
clicks "$WORK/b" 17 53000
ARGS=(server="$WORK/a" recorder="$WORK/b")
expect 0 "16 intervals judged, 0 off, 0 listener faults"

echo "-- a recorder misses a click"
clicks "$WORK/a" 20 1000
clicks "$WORK/b" 20 53000 0 0 9
ARGS=(server="$WORK/a" recorder="$WORK/b")
expect 0 "listener fault: recorder did not hear the click" "0 off"

echo "-- the program misses a click"
clicks "$WORK/a" 20 1000 0 0 9
clicks "$WORK/b" 20 53000 0 0 9
expect 1 "server 57600; recorder 57600;"

echo "-- too few intervals"
clicks "$WORK/a" 5 1000
clicks "$WORK/b" 5 53000
expect 2 "4 intervals judged" "expected at least 10"
# The reference client clicks on a grid of its own, 12000 frames after the program's. A period
# lost between the program's clicks 7 and 8 (at frame 190000 of the first listener) comes after
# the reference's click 7 as well.
echo "-- the sink drops a period of the whole mix: both clients lose it, the program is not blamed"
clicks "$WORK/a" 20 1000 7 -256
clicks "$WORK/b" 20 53000 7 -256
clicks "$WORK/ra" 20 13000 7 -256
clicks "$WORK/rb" 20 65000 7 -256
OPTS=(--reference server="$WORK/ra" --reference recorder="$WORK/rb")
ARGS=(server="$WORK/a" recorder="$WORK/b")
expect 0 "whole mix: server heard 28544 frames" "whole mix: recorder heard 28544 frames" \
    "19 intervals judged, 0 off, 0 listener faults" "2 heard alike by the reference"

echo "-- a recorder drops a period of everything it hears, the other listener is exact"
clicks "$WORK/a" 20 1000
clicks "$WORK/ra" 20 13000
expect 0 "whole mix: recorder heard 28544" "0 off, 0 listener faults" "1 heard alike"

echo "-- the program one period late, the reference exact: the program's"
clicks "$WORK/a" 20 1000 7 256
clicks "$WORK/b" 20 53000 7 256
clicks "$WORK/rb" 20 65000
expect 1 "program off: interval" "server 29056; recorder 29056;" "1 off"

echo "-- the program two periods late where the whole mix is one period late: the program's"
clicks "$WORK/a" 20 1000 7 512
clicks "$WORK/b" 20 53000 7 512
clicks "$WORK/ra" 20 13000 7 256
clicks "$WORK/rb" 20 65000 7 256
expect 1 "program off: interval" \
    "server 29312 (its reference +256); recorder 29312 (its reference +256);" "1 off"

echo "-- the program late while the sink repeats a period elsewhere: the program's"
clicks "$WORK/a" 20 1000 12 256
clicks "$WORK/b" 20 53000 12 256
clicks "$WORK/ra" 20 13000 4 256
clicks "$WORK/rb" 20 65000 4 256
expect 1 "program off: interval" "1 off"

echo "-- one listener's reference heard the loss, the other's not: not judged"
clicks "$WORK/a" 20 1000 7 -256
clicks "$WORK/b" 20 53000 7 -256
clicks "$WORK/ra" 20 13000 7 -256
clicks "$WORK/rb" 20 65000
expect 0 "listeners disagree" "server 28544 (its reference -256); recorder 28544;" \
    "18 intervals judged, 0 off"
echo "-- the reference did not hear a click: it excuses nothing"
clicks "$WORK/a" 20 1000 7 1024
clicks "$WORK/b" 20 53000 7 1024
clicks "$WORK/ra" 20 13000 0 0 8
clicks "$WORK/rb" 20 65000 0 0 8
expect 1 "program off: interval" \
    "server 29824 (its reference +28800); recorder 29824 (its reference +28800);" "1 off"

echo "-- the sink drops a period within one of the reference's clicks: it hears it split in two"
clicks "$WORK/a" 20 1000 7 -256
clicks "$WORK/b" 20 53000 7 -256
clicks "$WORK/ra" 20 13000 6 -256
clicks "$WORK/rb" 20 65000 6 -256
for r in ra rb; do
    awk 'NR == 7 { $1 += 128 } 1' "$WORK/$r" >"$WORK/$r.split" && mv "$WORK/$r.split" "$WORK/$r"
done
expect 0 "whole mix: server heard 28544 frames" "whole mix: recorder heard 28544 frames" \
    "19 intervals judged, 0 off"
OPTS=()
echo "-- ok"
