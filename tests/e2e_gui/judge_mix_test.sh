# The judge of two clients in one stereo sink, given planted onsets: a period that the sink drops
# from the whole mix is heard alike in both and is not held against either; a period that one
# client loses alone is its own, whatever the sink did at the same time.
set -euo pipefail
source "$(dirname "$0")/pipe_judge.sh"
WORK=$(mktemp -d /tmp/judge-mix-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
PERIOD=28800

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The analyser's stand-in: prints the onsets planted for the part asked for.
ANALYSE=$WORK/analyse
cat >"$ANALYSE" <<'SCRIPT'
#!/usr/bin/env bash
part=${1#--}
awk 'NR == 1 { previous = $1 } { printf "onset %d %.6f 0.900 A %d\n", $1, $1 / 48000, $1 - previous; previous = $1 }' "$2.$part"
echo "rate 48000"
SCRIPT
chmod +x "$ANALYSE"

# Writes to $1 the onsets of 40 clicks PERIOD apart from frame $2; every frame from $3 on moves by
# $4, and from $5 on by $6 more.
clicks() {
    local file=$1 from=$2 at=${3:-0} by=${4:-0} at2=${5:-0} by2=${6:-0} i frame
    : >"$file"
    for ((i = 0; i < 40; ++i)); do
        frame=$((from + i * PERIOD))
        ((at > 0 && frame >= at)) && frame=$((frame + by))
        ((at2 > 0 && frame >= at2)) && frame=$((frame + by2))
        echo "$frame" >>"$file"
    done
}

# Judges the planted mix; fails unless WHO's line holds every text after it.
expect() {
    local who=$1 out
    shift
    out=$(judge_mix "$WORK/mix" 600 "$who")
    echo "   $who: $out"
    for text; do
        grep -qF -- "$text" <<<"$out" || fail "no \"$text\" for the $who"
    done
}

# The reference clicks 100 ms after the program; the sink loses a period at frame 300,000.
echo "the sink drops a period from the whole mix"
clicks "$WORK/mix.right" 1000 300000 -256
clicks "$WORK/mix.left-less-right" 5800 300000 -256
expect program "38 intervals, 0 off" "tempo +0.00 ppm" "1 more heard alike"
expect reference "0 off" "1 more heard alike"

echo "the program loses a period of its own"
clicks "$WORK/mix.right" 1000 300000 -256
clicks "$WORK/mix.left-less-right" 5800
expect program "1 off by more than 2 samples, worst 5.333 ms" "0 more heard alike"
expect reference "0 off"

echo "the reference loses a period of its own"
clicks "$WORK/mix.right" 1000
clicks "$WORK/mix.left-less-right" 5800 300000 -256
expect program "0 off" "tempo +0.00 ppm"
expect reference "1 off"

echo "the sink drops a period while the reference loses one more of its own"
clicks "$WORK/mix.right" 1000 300000 -256
clicks "$WORK/mix.left-less-right" 5800 300000 -512
expect program "0 off" "1 more heard alike"
expect reference "1 off"

echo "the program repeats a period while the sink drops one"
clicks "$WORK/mix.right" 1000 300000 256
clicks "$WORK/mix.left-less-right" 5800 300000 -256
expect program "1 off"

echo "the sink drops more than a click's period in all, and the tempo holds"
clicks "$WORK/mix.right" 1000 300000 -20000 800000 -20000
clicks "$WORK/mix.left-less-right" 5800 300000 -20000 800000 -20000
expect program "0 off" "tempo +0.00 ppm" "2 more heard alike"

echo "the reference's click is not heard where the program is late: the program's"
clicks "$WORK/mix.right" 1000 300000 1024
awk 'NR != 12' <(clicks /dev/stdout 5800) >"$WORK/mix.left-less-right"
expect program "1 off" "0 more heard alike"

echo "the sink drops a period within one of the reference's clicks, which hears it split in two"
clicks "$WORK/mix.right" 1000 322600 -256
clicks "$WORK/mix.left-less-right" 5800 322600 -128 322601 -128
expect program "0 off" "1 more heard alike"

echo "the sink drops a period far from where the program loses one"
clicks "$WORK/mix.right" 1000 300000 -256 800000 -256
clicks "$WORK/mix.left-less-right" 5800 800000 -256
expect program "1 off" "1 more heard alike"
echo ok
