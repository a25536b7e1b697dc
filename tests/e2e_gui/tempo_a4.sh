# The reference tone: "A4 TONE (440 Hz)", the last row of the tempo list, chosen while the click
# runs, stops the click and sounds a steady 440 Hz; choosing a tempo row again ("208
# Prestissimo", 288 ms) ends the tone with the new tempo's first click.
source "$(dirname "$0")/session.sh"
source "$(dirname "$0")/sound.sh"

start_sound
start_x
start_program
window=$(wait_window "$MAIN_TITLE")
start_recording

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
(($(grep -c . <<<"$TONES") == 1)) || fail "expected one steady tone, found: ${TONES:-none}"
read -r start end cycles hz peak after <<<"$TONES"
length=$(awk -v s="$start" -v e="$end" -v r="$RATE" 'BEGIN { printf "%.0f", (e - s) * 1000 / r }')
log "a tone of $hz Hz for $length ms ($cycles cycles)"
near "$hz" 440 1 || fail "the tone sounds at $hz Hz, not 440 Hz"
((length > 2500)) || fail "the tone lasted only $length ms: a click broke into it or it stopped"

# The clicks on either side of the tone, in ms from its first and from its last zero crossing; the
# onset found where the tone begins is the tone itself.
ms_from() { awk -v at="$1" -v r="$RATE" '{ printf "%.1f ", ($1 - at) * 1000 / r }'; }
# The first click, played at once by On/Off, is left out, as its place may stray under load.
before=$(awk -v s="$start" -v r="$RATE" 'NR > 1 && $1 < s - r / 50' <<<"$ONSETS" |
    ms_from "$start")
after_tone=$(awk -v e="$end" '$1 > e' <<<"$ONSETS" | ms_from "$end")
log "clicks before the tone (ms): $before"
log "clicks after it (ms): $after_tone"
steady() {  # at least two times in $2, each gap between them within $3 ms of $1
    awk -v p="$1" -v s="$3" '{ ok = NF >= 2; for (i = 2; i <= NF; ++i)
        ok = ok && $i - $(i - 1) > p - s && $i - $(i - 1) < p + s } END { exit !ok }' <<<"$2"
}
steady 600 "$before" "$STEADY_SLACK" || fail "expected clicks 600 ms apart before the tone"
# The first click of the new tempo cut the tone off: loud right after it, and the next click
# one period (and at most one cycle of the tone) later.
awk -v a="$after" 'BEGIN { exit !(a > 0.1) }' ||
    fail "silence after the tone (peak $after): it ended before the first click"
read -r first _ <<<"$after_tone"
[[ -n $first ]] && near "$first" 288 "$((STEADY_SLACK + 3))" ||
    fail "the second click of \"208 Prestissimo\" should come 288 ms after the tone's end"
steady 288 "$after_tone" "$STEADY_SLACK" && (($(wc -w <<<"$after_tone") >= 5)) ||
    fail "expected clicks 288 ms apart after the tone"
log "ok"
