# The first display: the main dialog mapped centred at the size its template gives in pixels,
# fixed in size, with its icon, and visible in a screenshot of the screen.
source "$(dirname "$0")/session.sh"
start_x
start_program
window=$(wait_window "$MAIN_TITLE")
log "window mapped $(($(now_ms) - STARTED_AT_MS)) ms after start"

read -r want_w want_h unit_x unit_y < <("$PROBE" expected-size)
log "base units $unit_x x $unit_y, client size $want_w x $want_h"
((unit_x >= 5 && unit_x <= 10 && unit_y >= 12 && unit_y <= 20)) ||
    fail "implausible base units $unit_x x $unit_y for Verdana 10 pt"

geometry=$(xwininfo -id "$window")
value() { sed -n "s/^ *$1: *//p" <<<"$geometry" | head -n1; }
x=$(value "Absolute upper-left X")
y=$(value "Absolute upper-left Y")
w=$(value "Width")
h=$(value "Height")
[[ $w == "$want_w" && $h == "$want_h" ]] || fail "window is ${w}x${h}, want ${want_w}x${want_h}"
((x == (1280 - w) / 2 && y == (800 - h) / 2)) || fail "window at $x,$y is not centred"

hints=$(xprop -id "$window" WM_NORMAL_HINTS)
grep -q "minimum size: $w by $h" <<<"$hints" || fail "window can be made smaller: $hints"
grep -q "maximum size: $w by $h" <<<"$hints" || fail "window can be made larger: $hints"
icons=$(xprop -id "$window" _NET_WM_ICON | grep -c "Icon (") || true
((icons == 3)) || fail "the window should carry the icon in 3 sizes, has $icons"

mean() { convert "$WORK/screen.png" -crop "$1" +repage -format "%[fx:mean]" info:; }
# Mapped is not yet painted: look again for a while until the dialog shows.
for ((try = 0; try < 20; ++try)); do
    import -window root "$WORK/screen.png"
    inside=$(mean "${w}x${h}+${x}+${y}")
    outside=$(mean "4x4+$((x - 8))+$((y - 8))")
    awk -v a="$inside" -v b="$outside" 'BEGIN { exit !(a > 0.5 && b < 0.05) }' && break
    sleep 0.1
done
log "screenshot: mean brightness $inside inside the window, $outside beside it"
awk -v a="$inside" -v b="$outside" 'BEGIN { exit !(a > 0.5 && b < 0.05) }' ||
    fail "the screenshot does not show the window where X says it is"
if [[ -n ${E2E_SCREENSHOT:-} ]]; then
    convert "$WORK/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$E2E_SCREENSHOT"
fi

keys "$window" Escape
wait_exit 1000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
log "ok"
