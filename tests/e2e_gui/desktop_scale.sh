# The desktop's scale: with "Xft.dpi: 192" in the X resources, as desktops set it for a 200%
# display, and then with GDK_SCALE=2 alone, the main dialog opens at twice its 96 dpi size.
source "$(dirname "$0")/session.sh"
start_x

window_size() {
    local geometry
    geometry=$(xwininfo -id "$1")
    echo "$(sed -n 's/^ *Width: *//p' <<<"$geometry") $(sed -n 's/^ *Height: *//p' <<<"$geometry")"
}

read -r plain_w plain_h _ < <("$PROBE" expected-size)
echo 'Xft.dpi: 192' | xrdb -nocpp -merge
read -r want_w want_h unit_x unit_y < <("$PROBE" expected-size)
log "96 dpi: ${plain_w}x${plain_h}; 192 dpi: ${want_w}x${want_h}, base units $unit_x x $unit_y"
((want_w >= 2 * plain_w - 2 && want_w <= 2 * plain_w + 2 && want_h >= 2 * plain_h - 2 &&
    want_h <= 2 * plain_h + 2)) || fail "the layout does not grow twice"
start_program
window=$(wait_window "$MAIN_TITLE")
[[ $(window_size "$window") == "$want_w $want_h" ]] ||
    fail "at Xft.dpi 192 the window is $(window_size "$window"), want ${want_w}x${want_h}"
if [[ -n ${E2E_SCREENSHOT_192:-} ]]; then
    sleep 0.5
    import -window "$window" "$E2E_SCREENSHOT_192"
fi
keys "$window" Escape
wait_exit 1000

# The resource gone, GDK_SCALE says the same.
xrdb -nocpp -remove
GDK_SCALE=2 start_program
window=$(wait_window "$MAIN_TITLE")
[[ $(window_size "$window") == "$want_w $want_h" ]] ||
    fail "with GDK_SCALE=2 the window is $(window_size "$window"), want ${want_w}x${want_h}"
keys "$window" Escape
wait_exit 1000
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS"
log "ok"
