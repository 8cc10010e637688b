#!/usr/bin/env bash
# Makes the .deb, unpacks it into a temporary root and checks that the installed game runs from there:
# a scripted headless run into a stage, its desktop entry and icons, and a copy of the program without
# its resources exiting 1 with the places it looked in.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
deb=$("$top/scripts/package.sh")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
fail() { echo "test-package: $*" >&2; exit 1; }

deps=$(dpkg-deb -f "$deb" Depends)
for lib in libsdl2 libsqlite3 libpng libegl-mesa0 libgl1-mesa-dri; do
    [[ "$deps" == *"$lib"* ]] || fail "Depends lacks $lib: $deps"
done
for file in usr/bin/quintora usr/share/quintora/logo.png usr/share/applications/quintora.desktop \
            usr/share/man/man6/quintora.6.gz usr/share/icons/hicolor/48x48/apps/quintora.png \
            usr/share/icons/hicolor/256x256/apps/quintora.png usr/share/mime/packages/quintora-replay.xml; do
    [ -e "$root/$file" ] || fail "the package lacks /$file"
done

# A replay opened from a file manager plays: its type is known by its magic and its name, and the game takes it.
grep -qx "MimeType=application/x-quintora-replay;" "$root/usr/share/applications/quintora.desktop" ||
    fail "the desktop entry does not open replays"
grep -qx "Exec=quintora %f" "$root/usr/share/applications/quintora.desktop" || fail "the desktop entry passes no file"
xmllint --noout "$root/usr/share/mime/packages/quintora-replay.xml" || fail "the replay type is not well-formed XML"

# The score server's service unit, checked as systemd would load it from the installed tree. systemd-analyze
# looks everything up inside --root, so the root gets a copy of this system's own units (the targets the
# service is ordered after) and man finds the package's manual page for Documentation=.
unit=usr/lib/systemd/system/quintora-server.service
for file in "$unit" etc/default/quintora-server usr/share/man/man1/quintora-server.1.gz; do
    [ -e "$root/$file" ] || fail "the package lacks /$file"
done
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles | grep -qx /etc/default/quintora-server ||
    fail "/etc/default/quintora-server is not a conffile"
cp -rn /usr/lib/systemd/system/. "$root/usr/lib/systemd/system/"
MANPATH="$root/usr/share/man" systemd-analyze verify --root="$root" quintora-server.service ||
    fail "systemd-analyze verify refused the service unit"
systemd-analyze security --offline=true --root="$root" quintora-server.service | tail -n 1

# Tap Amateur once the menu's buttons are up, then look at the first stage.
script="$root/run.script"
cat > "$script" <<'SCRIPT'
200 tap 150 150
260 screenshot SHOT
SCRIPT
sed -i "s|SHOT|$root/stage.png|" "$script"
env -u QUINTORA_RESOURCES "$root/usr/bin/quintora" --headless --virtual-clock --frames 270 \
    --data-dir "$root/data" --script "$script" --log "$root/run.log" --mute
grep -q "totaltime = 0.000000" "$root/run.log" || fail "the installed game did not start a stage"
if grep -q "Image is Null" "$root/run.log"; then fail "the installed game missed a picture"; fi
[ -s "$root/stage.png" ] || fail "no screenshot"

# The program alone, without the tree it was installed in.
mkdir "$root/alone"
cp "$root/usr/bin/quintora" "$root/alone/"
set +e
env -u QUINTORA_RESOURCES "$root/alone/quintora" --headless --frames 1 2> "$root/alone.err"
status=$?
set -e
[ "$status" -eq 1 ] || fail "without resources the game exited $status, not 1"
grep -q "$root/share/quintora" "$root/alone.err" || fail "the message does not say where it looked: $(cat "$root/alone.err")"
echo "test-package: $(basename "$deb") installs and runs"
