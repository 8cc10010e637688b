#!/usr/bin/env bash
# Three score servers sharing one throw-away PostgreSQL behind HAProxy, under bounded load (wrk reads, signed
# posts, racing update-score posts, polled ranking reads), while one server is killed with SIGKILL and
# started again and then PostgreSQL stops for five seconds. Checks that every post answered "OK" is stored,
# that update-score left one entry per device, name and level, that every server is healthy again, that the
# servers see the client's address rather than the proxy's, and that /metrics passes promtool. Prints the
# requests that failed during each fault and how long until all were answered again.
# Usage: scripts/test-cluster.sh [build folder]   (default build/release)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build/release}
server_binary="$build/server/quintora-server"
poster="$build/bench/server/score_poster"
[ -x "$server_binary" ] && [ -x "$poster" ] || { echo "test-cluster: build first (scripts/build.sh release)" >&2; exit 1; }
for tool in haproxy wrk promtool; do
  command -v "$tool" >/dev/null || { echo "test-cluster: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

# shellcheck source=throwaway-postgres.sh
source "$top/scripts/throwaway-postgres.sh"
# shellcheck source=cluster.sh
source "$top/scripts/cluster.sh"
cluster_dir=$(mktemp -d /tmp/quintora-cluster-test.XXXXXX)
load_pids=()
cleanup() {
  local pid
  for pid in "${load_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  stop_cluster
  stop_throwaway_postgres
  rm -rf "$cluster_dir"
}
trap cleanup EXIT
fail() { echo "test-cluster: $*" >&2; exit 1; }
now_ms() { date +%s%3N; }

start_throwaway_postgres
start_cluster 3 "$POSTGRES_URL" --rate 0
echo "test-cluster: 3 servers behind HAProxy at $cluster_url"
port=${cluster_url##*:}

# The load lasts through both faults and stops by itself.
load_seconds=36
"$poster" 127.0.0.1 "$port" --clients 8 --seconds $load_seconds --reconnect --acked "$cluster_dir/acked" \
  --failures "$cluster_dir/failed-posts" >"$cluster_dir/posts.log" &
load_pids+=($!)
"$poster" 127.0.0.1 "$port" --clients 6 --seconds $load_seconds --reconnect --mode update \
  --failures "$cluster_dir/failed-updates" >"$cluster_dir/updates.log" &
load_pids+=($!)
"$poster" 127.0.0.1 "$port" --clients 2 --seconds $load_seconds --reconnect --mode read \
  --failures "$cluster_dir/failed-reads" >"$cluster_dir/reads.log" &
load_pids+=($!)
wrk -t1 -c4 -d${load_seconds}s "$cluster_url/api/get-scores?gamename=Quintora&category=Pro" \
  >"$cluster_dir/wrk.log" 2>&1 &
load_pids+=($!)

sleep 6
kill_at=$(now_ms)
stop_server_number 1 KILL
sleep 3
start_server_number 1
sleep 8
database_at=$(now_ms)
as_cluster_owner "$postgres_bin/pg_ctl" -D "$postgres_dir/data" -m fast -w stop >/dev/null
sleep 5
start_postgres_again
database_back_at=$(now_ms)
for pid in "${load_pids[@]}"; do wait "$pid"; done
load_pids=()
end_at=$(now_ms)

cat "$cluster_dir/posts.log" "$cluster_dir/updates.log" "$cluster_dir/reads.log"
grep -E 'requests in|Non-2xx|Socket errors' "$cluster_dir/wrk.log" | sed 's/^ */  wrk: /'

# fault_report NAME FROM TO: failed requests of each kind in [FROM, TO), and the time from FROM to the last.
fault_report() {
  local kind line="test-cluster: $1:" last=0 count
  for kind in posts updates reads; do
    count=$(awk -v from="$2" -v to="$3" '$1 >= from && $1 < to' "$cluster_dir/failed-$kind" | wc -l)
    line+=" $count $kind failed,"
    last=$(awk -v from="$2" -v to="$3" -v last="$last" '$1 >= from && $1 < to && $1 > last { last = $1 } END { print last }' \
      "$cluster_dir/failed-$kind")
    [ "$last" -gt "${latest:-0}" ] && latest=$last
  done
  if [ "${latest:-0}" -gt 0 ]; then
    line+=" all answered again $((latest - $2)) ms after the fault began"
    [ -z "${4:-}" ] || line+=" ($((latest - $4)) ms after the database was back)"
  else
    line+=" none failed"
  fi
  latest=0
  echo "$line"
}
fault_report "SIGKILL of one server (restarted after 3 s)" "$kill_at" "$database_at"
fault_report "PostgreSQL stopped for 5 s" "$database_at" "$end_at" "$database_back_at"
before=$(awk -v from="$kill_at" '$1 < from' "$cluster_dir"/failed-* | wc -l)
[ "$before" -eq 0 ] || fail "$before requests failed before any fault"

psql_query() { "$postgres_bin/psql" -X -A -t -q "$POSTGRES_URL" -c "$1"; }
sort "$cluster_dir/acked" >"$cluster_dir/acked.sorted"
psql_query "SELECT name FROM scores WHERE device = 'bench'" | sort >"$cluster_dir/stored"
acked=$(wc -l <"$cluster_dir/acked.sorted")
lost=$(comm -23 "$cluster_dir/acked.sorted" "$cluster_dir/stored" | wc -l)
echo "test-cluster: $acked posts acknowledged, $lost of them not stored"
[ "$acked" -gt 100 ] || fail "too few posts were acknowledged to tell anything"
[ "$lost" -eq 0 ] || fail "$lost acknowledged posts are not in the database"
entries=$(psql_query "SELECT count(*) FROM scores WHERE device LIKE 'racer-device-%'")
doubled=$(psql_query "SELECT count(*) FROM (SELECT 1 FROM scores WHERE device LIKE 'racer-device-%'
                      GROUP BY game, category, device, name HAVING count(*) > 1) AS twice")
echo "test-cluster: update-score left $entries entries, $doubled of them doubled"
[ "$entries" -gt 0 ] && [ "$doubled" -eq 0 ] || fail "update-score left more than one entry per device, name and level"

for i in 0 1 2; do
  status=000
  for _ in $(seq 50); do
    status=$(curl -s -m 2 -o /dev/null -w '%{http_code}' "http://127.0.0.1:${server_ports[$i]}/healthz") || true
    [ "$status" = 200 ] && break
    sleep 0.2
  done
  [ "$status" = 200 ] || fail "server $i is not healthy again: $status"
done

# The servers log the client, and only the proxy may name it: a forged header is not believed.
curl -s -m 5 -o /dev/null -H 'X-Forwarded-For: 203.0.113.7' "$cluster_url/api/get-scores?gamename=Quintora&forged=1"
sleep 0.2
grep -h 'forged=1\|GET /api/get-scores' "$cluster_dir"/server*.err | tail -n 1 | grep -q '^127\.0\.0\.1 ' ||
  fail "the access log does not show the client's address"
# HAProxy's own health checks are the only requests from the proxy itself.
if grep -hv '"GET /healthz"' "$cluster_dir"/server*.err | grep -q '^127\.0\.0\.2 \|^203\.0\.113\.7 '; then
  fail "a server logged the proxy's or a forged address as the client"
fi

curl -s -m 5 "http://127.0.0.1:${server_ports[0]}/metrics" >"$cluster_dir/metrics"
promtool check metrics <"$cluster_dir/metrics" || fail "promtool refused /metrics"
grep -q '^quintora_store_commit_seconds_count [1-9]' "$cluster_dir/metrics" || fail "no commits in /metrics"
echo "test-cluster: passed"
