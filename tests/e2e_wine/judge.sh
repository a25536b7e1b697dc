# The judge of the Wine tests' intervals (sourced): uses WORK (onsets.txt, program.log), RATE_HZ,
# log and fail.

# How many times Wine's PulseAudio driver said its stream ran dry.
underflows() { grep -c 'Underflow' "$WORK/program.log" 2>/dev/null || true; }

# Every interval between onsets from frame $1 to frame $2 of the recording is $3 ms, to 2 frames
# either way (a period of a fractional number of frames, such as 144 ms at 44.1 kHz, is placed to
# the nearest frame, then resampled to 48 kHz), and there are at least $4 of them.
#
# Where Wine's driver ran dry, the server played silence: a late interval, after which the clicks
# stay late, or come back on time at the next one when the driver skips ahead (late, then early by
# as much); a gap inside a click splits it in two, its second part heard as a click too soon
# (early, then late). Each of these is put down to the driver, but only as many as the times it
# said it ran dry; anything else off the period is the program's fault.
judge_intervals() {
    local from=$1 to=$2 period=$(($3 * RATE_HZ / 1000)) least=$4 verdict dry status=0
    dry=$(underflows)
    verdict=$(awk -v a="$from" -v b="$to" -v p="$period" -v least="$least" -v dry="$dry" \
        -v r="$RATE_HZ" '
        $1 == "onset" && $2 >= a && $2 <= b { t[n++] = $2 }
        END {
            for (k = 1; k < n; ++k) e[k] = t[k] - t[k - 1] - p
            for (k = 1; k < n; ++k) {
                at = sprintf(" at %.2f s", t[k] / r)
                if (e[k] >= -2 && e[k] <= 2) { ++exact; continue }
                if (e[k] > 2 && k + 1 < n && e[k] + e[k + 1] >= -2 && e[k] + e[k + 1] <= 2) {
                    ++gaps; list = list sprintf(" %+d then %+d%s", e[k], e[k + 1], at); ++k
                } else if (e[k] > 2) {
                    ++gaps; list = list sprintf(" %+d%s", e[k], at)
                } else if (k + 1 < n && e[k + 1] > 2) {
                    ++gaps; list = list sprintf(" %+d, %+d (a split click)%s", e[k], e[k + 1], at); ++k
                } else {
                    ++faults; list = list sprintf(" %+d (early)%s", e[k], at)
                }
            }
            printf "%d exact, %d gap(s), %d early;%s\n", exact, gaps, faults, list
            if (exact < least) exit 2
            if (gaps + faults == 0) exit 0
            exit (faults == 0 && gaps <= dry) ? 3 : 1
        }' "$WORK/onsets.txt") || status=$?
    log "$3 ms ($period frames): $verdict"
    case $status in
        0) ;;
        2) fail "too few exact intervals of $3 ms: $verdict" ;;
        3) log "the gaps are Wine's driver's, which ran dry $dry time(s) (a busy machine)," \
            "not the program's" ;;
        *) fail "intervals of $3 ms not exact: $verdict (Wine's driver ran dry $dry times)" ;;
    esac
}
