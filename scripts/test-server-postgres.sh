#!/usr/bin/env bash
# Runs the score server's store tests against a throw-away PostgreSQL cluster, then checks that the server
# answers errors while the database is gone and recovers by itself when it is back.
# Usage: scripts/test-server-postgres.sh [build folder]   (default build/release)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build/release}
tests="$build/tests/server/server_tests"
server="$build/server/quintora-server"
[ -x "$tests" ] && [ -x "$server" ] || { echo "test-server-postgres: build first (scripts/build.sh release)" >&2; exit 1; }

# shellcheck source=throwaway-postgres.sh
source "$top/scripts/throwaway-postgres.sh"
work=$(mktemp -d /tmp/quintora-server-test.XXXXXX)
server_pid=""
cleanup() {
  [ -z "$server_pid" ] || { kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; }
  stop_throwaway_postgres
  rm -rf "$work"
}
trap cleanup EXIT
start_throwaway_postgres

echo "test-server-postgres: store tests"
QUINTORA_TEST_POSTGRES=$POSTGRES_URL "$tests" --gtest_filter='Stores/*.*/1' --gtest_brief=1

echo "test-server-postgres: the database goes away and comes back"
"$server" --listen 127.0.0.1:0 --db "$POSTGRES_URL" >"$work/out" 2>"$work/err" &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/out" ] && break; sleep 0.1; done
url=$(sed -n 's/^listening on //p' "$work/out")
[ -n "$url" ] || { cat "$work/err" >&2; exit 1; }
key=$(sed -n 's/.*kGameKey = "\([0-9a-f]*\)".*/\1/p' "$top/online/GameKey.hpp")
post() {  # post NAME [SCORE [PATH [URL]]]: prints the answer's body and status
  local score=${2:-12.5} hash
  hash=$(printf '%s' "Pro$1" "$score" "$key" | md5sum | cut -d' ' -f1)
  curl -s -m 20 -w ' %{http_code}' -d "qs_category=Pro&qs_playername=$1&qs_score=$score&qs_device_id=d" \
    -d "qs_gamename=Quintora&qs_hash=$hash&qs_prot_ver=1.1" "${4:-$url}/api/${3:-post-score}"
}
expect() {  # expect WHAT ACTUAL EXPECTED
  if [ "$2" != "$3" ]; then echo "test-server-postgres: $1: got '$2', expected '$3'" >&2; exit 1; fi
}
expect "post while up" "$(post before)" "OK 200"
as_cluster_owner "$postgres_bin/pg_ctl" -D "$postgres_dir/data" -m fast -w stop >/dev/null
expect "post while down" "$(post during)" "store unavailable 503"
expect "read while down" "$(curl -s -m 20 -o /dev/null -w '%{http_code}' "$url/api/get-scores?gamename=Quintora")" "503"
start_postgres_again
expect "post once back" "$(post after)" "OK 200"
names=$(curl -s -m 20 "$url/api/get-scores?gamename=Quintora&category=Pro" | grep -o '"qs_playername":"[a-z]*"' | tr '\n' ' ')
expect "ranking once back" "$names" '"qs_playername":"before" "qs_playername":"after" '

echo "test-server-postgres: two servers update one entry at the same time"
"$server" --listen 127.0.0.1:0 --db "$POSTGRES_URL" --rate 0 >"$work/out2" 2>/dev/null &
second_pid=$!
for _ in $(seq 100); do [ -s "$work/out2" ] && break; sleep 0.1; done
second_url=$(sed -n 's/^listening on //p' "$work/out2")
for score in $(seq 1 20); do
  post racer "$score" update-score "$([ $((score % 2)) -eq 0 ] && echo "$url" || echo "$second_url")" >/dev/null &
done
wait $(jobs -p | grep -v -e "^$server_pid\$" -e "^$second_pid\$")
kill -TERM "$second_pid"
wait "$second_pid"
racers=$(curl -s -m 20 "$url/api/get-scores?gamename=Quintora&category=Pro" | grep -o '"qs_playername":"racer","qs_score":[0-9]*')
expect "entries of one device and name" "$racers" '"qs_playername":"racer","qs_score":20'

kill -TERM "$server_pid"
wait "$server_pid"
server_pid=""
echo "test-server-postgres: passed"
