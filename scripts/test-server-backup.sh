#!/usr/bin/env bash
# The operator's backup, check and restore of a SQLite store, as the README describes them: a backup taken
# while a server serves posts holds what was acknowledged before it, `check` passes it and fails a damaged
# copy, and a server started on the restored copy serves its scores.
# Usage: scripts/test-server-backup.sh [build folder]   (default build/release)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build/release}
server="$build/server/quintora-server"
poster="$build/bench/server/score_poster"
[ -x "$server" ] && [ -x "$poster" ] || { echo "test-server-backup: build first (scripts/build.sh release)" >&2; exit 1; }
# shellcheck source=cluster.sh
source "$top/scripts/cluster.sh"
server_binary=$server
cluster_dir=$(mktemp -d /tmp/quintora-backup-test.XXXXXX)
work=$cluster_dir
trap 'stop_cluster; rm -rf "$work"' EXIT
fail() { echo "test-server-backup: $*" >&2; exit 1; }

start_server() {  # start_server DB_FILE: sets port
  server_options=(--db "sqlite:$1" --rate 0)
  port=$(free_port)
  server_ports[0]=$port
  start_server_number 0
}
stop_server() { stop_server_number 0; }

start_server "$work/live.db"
"$poster" 127.0.0.1 "$port" --clients 4 --seconds 2 --acked "$work/before" >/dev/null
# The backup runs while posts keep arriving.
"$poster" 127.0.0.1 "$port" --clients 4 --seconds 4 >/dev/null &
writer_pid=$!
sleep 1
"$server" backup "$work/copy.db" --db "sqlite:$work/live.db" >"$work/backup.log" || fail "backup failed: $(cat "$work/backup.log")"
wait "$writer_pid"
stop_server
[ ! -e "$work/copy.db.partial" ] || fail "the partial copy was left behind"
"$server" check --db "sqlite:$work/copy.db" | grep -qx "the store is intact" || fail "check refused a fresh backup"

# Restore: a server on the copy serves every post acknowledged before the backup began.
start_server "$work/copy.db"
"$server" scores list --db "sqlite:$work/copy.db" --device bench --limit 1000000 --json |
  grep -o '"name":"[0-9n]*"' | sed 's/"name":"\(.*\)"/\1/' | sort >"$work/restored"
stop_server
missing=$(sort "$work/before" | comm -23 - "$work/restored" | wc -l)
echo "test-server-backup: $(wc -l <"$work/before") posts acknowledged before the backup, $(wc -l <"$work/restored") in it, $missing missing"
[ "$(wc -l <"$work/before")" -gt 0 ] && [ "$missing" -eq 0 ] || fail "the backup lacks acknowledged posts"

# A damaged page: check says so and exits 1.
size=$(stat -c %s "$work/copy.db")
printf '\245\245\245\245\245\245\245\245' | dd of="$work/copy.db" bs=1 seek=$((size - 4096)) conv=notrunc status=none
set +e
"$server" check --db "sqlite:$work/copy.db" >"$work/check.log" 2>&1
status=$?
set -e
[ "$status" -eq 1 ] || fail "check exited $status on a damaged store: $(cat "$work/check.log")"
echo "test-server-backup: passed"
