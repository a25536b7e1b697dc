# Characters the interface font lacks (Japanese here) are drawn with an installed font that has
# them, not as empty boxes: two comments of the same two characters in swapped order look
# different in the comments box, where empty boxes would look the same. With E2E_PICTURES set to
# a folder, the pictures are kept there to be looked at.
source "$(dirname "$0")/session.sh"
fc-list :lang=ja | grep -q . || fail "no font with Japanese installed (fonts-ipafont-gothic)"
start_x
read -r _ _ unit_x unit_y < <("$PROBE" expected-size)

# Texts in UTF-8 (the comments' characters), as the bank file holds them: marker, length, UTF-16.
utf16() {
    printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE >"$WORK/utf16"
    printf '\xff\xfe\xff'"$(printf '\\x%02x' $(($(stat -c %s "$WORK/utf16") / 2)))"
    cat "$WORK/utf16"
}
# Preset 1 holds comments $1; its button is pressed and the comments box pictured into $2.
recall_and_picture() {
    bank_record 600 0 Andante 100 100 21 0 0 0 "$1" >"$WORK/app/bank1.dat"
    xdotool mousemove --window "$window" $((13 * unit_x / 4)) $((13 * unit_y / 8)) click 1
    sleep 0.5
    import -window "$window" -crop \
        "$((106 * unit_x / 4))x$((36 * unit_y / 8))+$((26 * unit_x / 4))+$((40 * unit_y / 8))" \
        +repage "$WORK/$2"
    [[ -n ${E2E_PICTURES:-} ]] && cp "$WORK/$2" "$E2E_PICTURES/" || true
}

start_program
window=$(wait_window "$MAIN_TITLE")
recall_and_picture $'\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e' first.png   # 日本語
recall_and_picture $'\xe8\xaa\x9e\xe6\x9c\xac\xe6\x97\xa5' swapped.png # 語本日
differing=$(compare -metric AE "$WORK/first.png" "$WORK/swapped.png" null: 2>&1) || true
log "pixels that differ: $differing"
[[ $differing =~ ^[0-9]+$ ]] || fail "the pictures could not be compared: $differing"
((differing > 20)) || fail "the Japanese characters are drawn alike (as empty boxes)"
keys "$window" Escape
wait_exit 1000
log "ok"
