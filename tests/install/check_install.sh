#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the files, the desktop entry, and that the
# launcher prepares a per-user folder with the sounds before it starts the program.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/metronome bin/metronome-desktop share/applications/example.vorla.Metronome.desktop \
         share/metainfo/example.vorla.Metronome.metainfo.xml \
         share/man/man1/metronome.1.gz share/man/man1/metronome-desktop.1.gz \
         share/doc/metronome/copyright share/doc/metronome/changelog.gz \
         share/icons/hicolor/16x16/apps/vorla-metronome.png \
         share/icons/hicolor/32x32/apps/vorla-metronome.png \
         share/icons/hicolor/48x48/apps/vorla-metronome.png; do
    [[ -e "$prefix/$f" ]] || { echo "missing after install: $f"; exit 1; }
done
for s in 440Hz Hat1 Hat2 Metronome1 Metronome2 Rim1 Rim2 Click1 Click2; do
    [[ -f "$prefix/share/metronome/sounds/$s.wav" ]] || { echo "missing sound: $s.wav"; exit 1; }
done
[[ -x "$prefix/bin/metronome" && -x "$prefix/bin/metronome-desktop" ]] || { echo "not executable"; exit 1; }

entry="$prefix/share/applications/example.vorla.Metronome.desktop"
desktop-file-validate "$entry"
grep -qx "Exec=$prefix/bin/metronome-desktop" "$entry" || { echo "wrong Exec line"; cat "$entry"; exit 1; }

# Without a display the program says so and ends; the launcher has made the folder by then.
set +e
env -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_HOME="$work/data" "$prefix/bin/metronome-desktop" \
    >"$work/out" 2>&1
status=$?
set -e
[[ $status -ne 0 ]] || { echo "the program should refuse to run without a display"; exit 1; }
[[ "$(readlink "$work/data/metronome/sounds")" == "$prefix/share/metronome/sounds" ]] ||
    { echo "the per-user folder has no link to the sounds"; ls -la "$work/data/metronome"; exit 1; }
grep -qi "desktop" "$work/out" || { echo "no word about the missing desktop:"; cat "$work/out"; exit 1; }
echo "install checks passed"
