# The reference tone: "A4 TONE (440 Hz)", the last row of the tempo list, chosen while the click
# runs, stops the click and sounds a steady 440 Hz; choosing a tempo row again ("208
# Prestissimo", 288 ms) ends the tone with the new tempo's first click.
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"

start_listening  # sets window

keys "$window" Return  # On/Off; the focus stays on the combo box
sleep 2
keys "$window" End  # the last row, the tone
sleep 3
keys "$window" Up  # the row above it, "208 Prestissimo"
sleep 2
keys "$window" Escape
wait_exit 1000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"

analyse_recording
[[ -n $TONES ]] || fail "no steady tone"
# A busy machine may skip a few frames of the output, which splits the tone into pieces. Each
# piece must sound 440 Hz, and each but the last go on at its own level (a skip) rather than
# louder (a click breaking in).
pieces=$(grep -c . <<<"$TONES")
read -r start _ <<<"$TONES"
read -r _ end _ _ _ after < <(tail -n1 <<<"$TONES")
read -r longest hz < <(awk -v r="$RATE" '{ print ($2 - $1) * 1000 / r, $4 }' <<<"$TONES" |
    sort -n | tail -n1)
span=$(awk -v s="$start" -v e="$end" -v r="$RATE" 'BEGIN { printf "%.0f", (e - s) * 1000 / r }')
log "the tone: $span ms in $pieces piece(s), the longest $longest ms at $hz Hz"
near "$hz" 440 1 || fail "the tone sounds at $hz Hz, not 440 Hz"
awk '$4 <= 439 || $4 >= 441 { exit 1 }' <<<"$TONES" || fail "a piece of the tone is off 440 Hz"
awk -v n="$pieces" 'NR < n && $6 > 1.2 * $5 { exit 1 }' <<<"$TONES" ||
    fail "something louder than the tone broke into it: the click went on"
awk -v l="$longest" 'BEGIN { exit !(l >= 1000) }' || fail "no second of steady tone"
((span > 2500)) || fail "the tone lasted only $span ms"

# The clicks on either side of the tone, in ms from its first and from its last zero crossing; the
# onset found where the tone begins is the tone itself.
ms_from() { awk -v at="$1" -v r="$RATE" '{ printf "%.1f ", ($1 - at) * 1000 / r }'; }
# The first click, played at once by On/Off, is left out, as its place may stray under load.
before=$(awk -v s="$start" -v r="$RATE" 'NR > 1 && $1 < s - r / 50' <<<"$ONSETS" |
    ms_from "$start")
after_tone=$(awk -v e="$end" '$1 > e' <<<"$ONSETS" | ms_from "$end")
log "clicks before the tone (ms): $before"
log "clicks after it (ms): $after_tone"
gaps() { awk '{ for (i = 2; i <= NF; ++i) printf "%.1f ", $i - $(i - 1) }' <<<"$1"; }
# A busy machine may hold the output back once.
read -r on off < <(tally 600 "$(gaps "$before")")
((on >= 1 && off <= 1)) || fail "expected clicks 600 ms apart before the tone"
# The first click of the new tempo cut the tone off: no silence after it, and the next click one
# period later (and at most one cycle of the tone more; a last piece too short to be found as
# a tone, cut off by a skip, may add up to 100 ms).
awk -v a="$after" 'BEGIN { exit !(a > 0.1) }' ||
    fail "silence after the tone (peak $after): it ended before the first click"
read -r first _ <<<"$after_tone"
[[ -n $first ]] && awk -v f="$first" -v s="$STEADY_SLACK" \
    'BEGIN { exit !(f > 288 - s && f < 288 + 3 + 100 + s) }' ||
    fail "the second click of \"208 Prestissimo\" should come 288 ms after the tone's end"
read -r on off < <(tally 288 "$(gaps "$after_tone")")
((on >= 4 && off <= 1)) || fail "expected clicks 288 ms apart after the tone"
log "ok"
