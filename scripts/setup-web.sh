#!/usr/bin/env bash
# Installs the npm tools the web page's check uses (scripts/web/package.json, exact versions from its
# lockfile) into scripts/web/node_modules. Does nothing when they are there already.
# Usage: scripts/setup-web.sh
set -euo pipefail
web=$(cd "$(dirname "$0")/web" && pwd)
[ -x "$web/node_modules/.bin/lighthouse" ] && exit 0
command -v npm >/dev/null || { echo "setup-web: npm is missing (Debian: apt-get install npm)" >&2; exit 1; }
echo "setup-web: installing $(cd "$web" && node -p 'Object.keys(require("./package.json").dependencies).join(" ")')"
if [ -f "$web/package-lock.json" ]; then
  npm ci --prefix "$web" --no-audit --no-fund --loglevel=error
else
  npm install --prefix "$web" --no-audit --no-fund --loglevel=error
fi
