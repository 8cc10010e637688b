#!/usr/bin/env bash
# Regenerates every picture and sound of the game from the sources in this folder:
#   make_svgs.py (with svgkit.py, icons.py, spots.py) -> svg/*.svg -> ../*.png   (rsvg-convert)
#   sounds.py                                        -> ../*.wav, ../*.mp3      (sox, lame)
# and the lists ../expected.txt and ../MANIFEST.md. The outputs are committed, so building and running
# the game never needs these tools. Usage: resources/art/build.sh [--pictures-only|--sounds-only]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
res="$(dirname "$here")"
repo="$(dirname "$res")"

missing=()
check() { command -v "$1" >/dev/null 2>&1 || missing+=("$2"); }
check python3 python3
check rsvg-convert librsvg2-bin
check sox sox
check lame lame
if ((${#missing[@]})); then
    echo "build.sh: missing tools; install the Debian packages: ${missing[*]}" >&2
    echo "          (the full list is in scripts/packages-art.txt)" >&2
    exit 1
fi

# Letter the pictures with the game's own font file, whether or not it is installed system-wide.
fc_dir="$(mktemp -d)"
trap 'rm -rf "$fc_dir"' EXIT
cat >"$fc_dir/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <dir>$res/fonts</dir>
  <cachedir>$fc_dir/cache</cachedir>
</fontconfig>
EOF
export FONTCONFIG_FILE="$fc_dir/fonts.conf"

what="${1:-all}"
if [[ "$what" != "--sounds-only" ]]; then
    python3 "$here/make_svgs.py"
    n=0
    for svg in "$here"/svg/*.svg; do
        name="$(basename "${svg%.svg}")"
        rsvg-convert --format=png --output="$res/$name.png" "$svg"
        n=$((n + 1))
    done
    echo "rendered $n pictures" >&2
fi
if [[ "$what" != "--pictures-only" ]]; then
    python3 "$here/sounds.py" "$res"
fi
python3 "$here/write_lists.py" "$res"
echo "done; check with: ctest -R resources (after configuring the build)" >&2
