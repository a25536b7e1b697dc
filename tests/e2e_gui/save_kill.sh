# The program killed while it saves, again and again (kill -9, and SIGTERM as a logout sends it):
# the bank file is always either the old record or the new one, never a mixture; SIGTERM lets the
# save finish and ends with status 0, leaving no temporary file; what kill -9 leaves behind is gone
# after the next save of that preset (where the kill missed the write, such a leftover is made up
# with the killed process's id). Preset 2 holds a long record, so that a save takes a while.
source "$(dirname "$0")/session.sh"
start_x

ROUNDS=${SAVE_KILL_ROUNDS:-24}

source "$(dirname "$0")/saving.sh"
prepare_presets 700

temporaries() { find "$WORK/app" -name '.bank1.dat.tmp-*' -printf '%f\n'; }

# The new record is what the program saves from the recalled preset 2.
cp "$WORK/old.dat" "$WORK/app/bank1.dat"
save_undisturbed
cp "$WORK/app/bank1.dat" "$WORK/new.dat"
cmp -s "$WORK/new.dat" "$WORK/old.dat" && fail "the save did not change bank1.dat"
log "the new record has $(stat -c %s "$WORK/new.dat") bytes"

killed_with_leftovers=0
for ((round = 1; round <= ROUNDS; ++round)); do
    cp "$WORK/old.dat" "$WORK/app/bank1.dat"
    start
    save_repeatedly &
    keys_pid=$!
    # From before the first save (the keys take about 0.6 s) into the run of saves.
    sleep "$((RANDOM % 2)).$((RANDOM % 10))"
    signal=KILL
    ((round % 4 == 0)) && signal=TERM
    kill -s "$signal" "$PROGRAM"
    wait_exit 5000
    stop_saving "$keys_pid"

    if cmp -s "$WORK/app/bank1.dat" "$WORK/new.dat"; then
        state=new
    elif cmp -s "$WORK/app/bank1.dat" "$WORK/old.dat"; then
        state=old
    else
        fail "round $round (SIG$signal): bank1.dat is neither record ($(stat -c %s "$WORK/app/bank1.dat") bytes)"
    fi
    left=$(temporaries)
    mine=$(temporaries | grep -F ".bank1.dat.tmp-$PROGRAM-" || true)
    # A save that went through first removed what earlier rounds left; only this round's may stay.
    if [[ $state == new && $left != "$mine" ]]; then
        fail "round $round: $(temporaries | grep -vF ".tmp-$PROGRAM-" | head -n1) outlived a save"
    fi
    if [[ $signal == TERM ]]; then
        ((EXIT_STATUS == 0)) || fail "round $round: SIGTERM gave exit status $EXIT_STATUS"
        [[ -z $mine ]] || fail "round $round: SIGTERM left $mine"
    elif [[ -n $mine ]]; then
        killed_with_leftovers=$((killed_with_leftovers + 1))
    else
        # What a kill in the middle of the write leaves, which the timing rarely hits.
        head -c 1000 "$WORK/new.dat" >"$WORK/app/.bank1.dat.tmp-$PROGRAM-1"
    fi
    log "round $round: SIG$signal, bank1.dat $state${left:+, left $left}"
done
log "$killed_with_leftovers kill -9 rounds left a temporary file"

# One more save, undisturbed, removes every leftover.
cp "$WORK/old.dat" "$WORK/app/bank1.dat"
save_undisturbed
cmp -s "$WORK/app/bank1.dat" "$WORK/new.dat" || fail "the last save differs from the first"
[[ -z $(temporaries) ]] || fail "left after the last save: $(temporaries)"
log "ok"
