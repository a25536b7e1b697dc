# The program killed again and again while it saves over a hard-linked bank file, which is written
# in place so that both names keep seeing the preset: after every kill -9 the file (under both
# names) is either the old record or the new one, or else a copy kept beside it holds the record
# that was there before the save; SIGTERM lets the save finish, ends with status 0 and leaves no
# copy. Preset 2 holds a long record, so that a save takes a while.
source "$(dirname "$0")/session.sh"
start_x

ROUNDS=${SAVE_KILL_ROUNDS:-24}

source "$(dirname "$0")/saving.sh"
prepare_presets 2300
cp "$WORK/old.dat" "$WORK/app/bank1.dat"
ln "$WORK/app/bank1.dat" "$WORK/linked.dat"

copies() { find "$WORK/app" -name 'bank1.dat.old*' -printf '%f\n'; }
same_record() { cmp -s "$1" "$WORK/old.dat" || cmp -s "$1" "$WORK/new.dat"; }
# Puts the old record back into the linked file, as cp writes into the existing file.
reset_bank() {
    cp "$WORK/old.dat" "$WORK/app/bank1.dat"
    rm -f "$WORK/app"/bank1.dat.old*
    [[ $(stat -c %h "$WORK/app/bank1.dat") == 2 ]] || fail "bank1.dat lost its second name"
}

# The new record is what the program saves from the recalled preset 2.
save_undisturbed
cp "$WORK/app/bank1.dat" "$WORK/new.dat"
cmp -s "$WORK/new.dat" "$WORK/old.dat" && fail "the save did not change bank1.dat"
cmp -s "$WORK/new.dat" "$WORK/linked.dat" || fail "the second name does not see the new record"
[[ -z $(copies) ]] || fail "a save that went through left $(copies)"
log "the new record has $(stat -c %s "$WORK/new.dat") bytes"

kept=0
for ((round = 1; round <= ROUNDS; ++round)); do
    reset_bank
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

    [[ $(stat -c %i "$WORK/app/bank1.dat") == $(stat -c %i "$WORK/linked.dat") ]] ||
        fail "round $round: bank1.dat and its second name are two files now"
    if cmp -s "$WORK/app/bank1.dat" "$WORK/new.dat"; then
        state=new
    elif cmp -s "$WORK/app/bank1.dat" "$WORK/old.dat"; then
        state=old
    else
        state="neither record ($(stat -c %s "$WORK/app/bank1.dat") bytes)"
        good=""
        for copy in $(copies); do
            same_record "$WORK/app/$copy" && good=$copy
        done
        [[ -n $good ]] || fail "round $round (SIG$signal): bank1.dat is $state, and no copy" \
            "holds the record from before the save: $(copies)"
        state+=", the record before it kept in $good"
        kept=$((kept + 1))
    fi
    if [[ $signal == TERM ]]; then
        ((EXIT_STATUS == 0)) || fail "round $round: SIGTERM gave exit status $EXIT_STATUS"
        [[ -z $(copies) ]] || fail "round $round: SIGTERM left $(copies)"
    fi
    log "round $round: SIG$signal, bank1.dat $state"
done
log "$kept kill -9 rounds hit the write and left a copy"

# One more save, undisturbed, after the leftovers: it keeps no copy of its own.
reset_bank
save_undisturbed
cmp -s "$WORK/app/bank1.dat" "$WORK/new.dat" || fail "the last save differs from the first"
cmp -s "$WORK/linked.dat" "$WORK/new.dat" || fail "the second name misses the last save"
[[ -z $(copies) ]] || fail "left after the last save: $(copies)"
log "ok"
