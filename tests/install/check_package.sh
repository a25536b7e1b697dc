#!/usr/bin/env bash
# Run as root inside a fresh Debian 12 that has nothing of the metronome: installs its Debian
# package with apt, checks that apt brought everything the program needs and that the files lie
# where Debian puts them, then starts the program as a desktop user would, from its menu entry on
# the display in DISPLAY, switches the click on and listens to it through a private sound server.
# Argument: the package file. The onset analyser and pulse-null-sink lie beside this script.
set -euo pipefail
deb=$1
here=$(cd "$(dirname "$0")" && pwd)
export DEBIAN_FRONTEND=noninteractive
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

echo "== apt-get install ${deb##*/}"
apt-get update -qq
apt-get install -y -qq "$deb" >/dev/null
missing=$(ldd /usr/bin/metronome | grep 'not found' || true)
[[ -z $missing ]] || fail "the package did not bring: $missing"
for f in /usr/bin/metronome /usr/bin/metronome-desktop \
    /usr/share/applications/example.vorla.Metronome.desktop \
    /usr/share/metainfo/example.vorla.Metronome.metainfo.xml \
    /usr/share/man/man1/metronome.1.gz /usr/share/doc/metronome/copyright \
    /usr/share/icons/hicolor/16x16/apps/vorla-metronome.png \
    /usr/share/icons/hicolor/48x48/apps/vorla-metronome.png \
    /usr/share/metronome/sounds/Metronome1.wav /usr/share/metronome/sounds/440Hz.wav; do
    [[ -e $f ]] || fail "missing after install: $f"
done
launcher=$(sed -n 's/^Exec=//p' /usr/share/applications/example.vorla.Metronome.desktop)
[[ $launcher == /usr/bin/metronome-desktop ]] || fail "the menu entry starts '$launcher'"
echo "-- installed: $(dpkg-query -W -f='${Package} ${Version}, depends on ${Depends}' metronome)"

echo "== adding the tools of this check: a sound server and its recorder, xdotool"
apt-get install -y -qq --no-install-recommends pulseaudio pulseaudio-utils xdotool >/dev/null
id musician >/dev/null 2>&1 || useradd -m musician
cp -r "$here" /tmp/package-check
chown -R musician /tmp/package-check

# The rest as the user, from the menu entry's command, with the recorder started first.
runuser -u musician -- env -i HOME=/home/musician PATH=/usr/bin:/bin LANG=C.UTF-8 \
    DISPLAY="$DISPLAY" LAUNCHER="$launcher" bash -s <<'EOF'
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
check=/tmp/package-check
pulse=$check/pulse-null-sink
"$pulse" start "$check/pulse" || fail "no sound server"
trap '"$pulse" stop "$check/pulse"; [[ -n ${program:-} ]] && kill "$program" 2>/dev/null || true' EXIT
export "$(cat "$check/pulse/env")"
"$pulse" record "$check/pulse" "$check/clicks.wav" || fail "no recording"
"$LAUNCHER" >"$check/program.log" 2>&1 &
program=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Vorla Metronome' 2>/dev/null | head -n1) || true
    [[ -n $window ]] && break
    sleep 0.1
done
[[ -n $window ]] || { cat "$check/program.log"; fail "the installed program shows no window"; }
xdotool windowfocus --sync "$window" key Return
sleep 4.5
xdotool windowfocus --sync "$window" key Escape
for _ in $(seq 50); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
status=0
wait "$program" || status=$?
program=""
((status == 0)) || fail "the program ended with status $status"
"$pulse" stop "$check/pulse"
trap - EXIT

"$check/onset-analyse" "$check/clicks.wav" >"$check/onsets.txt" || fail "the capture cannot be read"
rate=$(awk '$1 == "rate" { print $2 }' "$check/onsets.txt")
intervals=$(awk -v r="$rate" '$1 == "onset" && $6 > 0 { printf "%.2f ", $6 * 1000 / r }' \
    "$check/onsets.txt")
echo "-- heard intervals (ms): $intervals"
# The first click is played at once, off the timer's grid; the others are 600 ms apart (100 BPM).
awk '{ for (i = 2; i <= NF; ++i) { ++n; if ($i < 598 || $i > 602) ++off } } END { exit off || n < 5 }' \
    <<<"$intervals" || fail "expected at least 5 intervals of 600 ms after the first"
[[ "$(readlink "$HOME/.local/share/metronome/sounds")" == /usr/share/metronome/sounds ]] ||
    fail "the per-user folder has no link to the installed sounds"
echo "-- the installed program started from its menu entry and clicked at 100 BPM"
EOF
