#!/usr/bin/env bash
# Builds the release configuration and makes the Debian package from it with CPack, installed under /usr.
# Prints the path of the .deb. Usage: scripts/package.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh" release -DCMAKE_INSTALL_PREFIX=/usr >&2
build="$top/build/release"
rm -rf "$build/package"
(cd "$build" && cpack -G DEB >&2)
deb=$(ls "$build"/package/quintora_*.deb)
echo "$deb"
