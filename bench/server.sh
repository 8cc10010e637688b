#!/usr/bin/env bash
# Score server benchmarks, on this machine with client and server together over loopback; each run is
# bounded in time. Run after scripts/build.sh release.
#   bench/server.sh reads            get-scores requests/s, wrk at 64 connections, 100,000 scores (SQLite):
#                                    the game's own page, then random deep pages that miss the page cache
#   bench/server.sh posts-sqlite     acknowledged posts/s, 32 concurrent posters, SQLite
#   bench/server.sh posts-postgres   the same on a throw-away PostgreSQL cluster
#   bench/server.sh latency          median and p99 latency of ranking pages at 1,000,000 scores (SQLite):
#                                    each kind of page read from the store, then the game's page and a
#                                    device's rank (get-rank) over HTTP
#   bench/server.sh web              the ranking web page at 1,000,000 scores: p99 with one client, then
#                                    requests/s at 64 connections
#   bench/server.sh kill9            kill -9 under write load, restart, count acknowledged posts lost
#   bench/server.sh slow             1,024 slow connections from 8 addresses (a byte every 5 s, reconnecting
#                                    when dropped) while another address asks twice a second, 45 s
#   bench/server.sh cache-rss        the server's RSS before and after 4,095 distinct get-scores pages over
#                                    300 scores whose names are 24 emoji each
#   bench/server.sh cluster          on a throw-away PostgreSQL: get-scores requests/s and acknowledged posts/s
#                                    with their p99, from one server directly, then through HAProxy to one
#                                    and to three servers
#   bench/server.sh replay-posts     acknowledged posts/s with a replay each, 32 concurrent posters, SQLite,
#                                    while the default verifiers (one per core) verify them: the game
#                                    verifies the replay QUINTORA_BENCH_REPLAY names, or without one a
#                                    stand-in burns about 0.2 s of CPU on each of 10 KiB of random bytes
#   bench/server.sh all              each of the above in turn
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/release"
server_binary=${QUINTORA_SERVER_BINARY:-$build/server/quintora-server}  # another build to compare with
poster="$build/bench/server/score_poster"
[ -x "$server_binary" ] && [ -x "$poster" ] || { echo "build first: scripts/build.sh release" >&2; exit 1; }
seconds=${QUINTORA_BENCH_SECONDS:-10}
work=$(mktemp -d /tmp/quintora-server-bench.XXXXXX)
# shellcheck source=../scripts/throwaway-postgres.sh
source "$top/scripts/throwaway-postgres.sh"
# shellcheck source=../scripts/cluster.sh
source "$top/scripts/cluster.sh"
cluster_dir="$work"
server_pid=""
cleanup() {
  stop_cluster
  stop_server
  stop_throwaway_postgres
  rm -rf "$work"
}
trap cleanup EXIT

start_server() {  # start_server DB_URL [OPTIONS...]: sets port
  : >"$work/out"
  "$server_binary" --listen 127.0.0.1:0 --db "$1" --rate 0 "${@:2}" >"$work/out" 2>/dev/null &
  server_pid=$!
  for _ in $(seq 200); do [ -s "$work/out" ] && break; sleep 0.05; done
  port=$(sed -n 's/^listening on http:\/\/127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/out")
  [ -n "$port" ] || { echo "the server did not start" >&2; exit 1; }
}
stop_server() {
  [ -n "$server_pid" ] || return 0
  kill -TERM "$server_pid" 2>/dev/null || true
  wait "$server_pid" 2>/dev/null || true
  server_pid=""
}

# Fills a SQLite store with COUNT scores over three categories, many devices and the last 60 days.
seed_sqlite() {  # seed_sqlite FILE COUNT
  start_server "sqlite:$1"  # creates the schema
  stop_server
  sqlite3 "$1" <<SQL
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $2)
INSERT INTO scores (game, category, name, score, country, device, date, extra)
SELECT 'Quintora', CASE i % 3 WHEN 0 THEN 'Amateur' WHEN 1 THEN 'Pro' ELSE 'Legend' END, 'player' || i,
       (abs(random()) % 3000000) / 10.0 / 3.0, CASE i % 4 WHEN 0 THEN 'JP' WHEN 1 THEN 'DE' ELSE '' END,
       'device' || (i % 50000), strftime('%s', 'now') - abs(random()) % (60 * 86400), ''
FROM n;
SQL
}

page="/api/get-scores?gamename=Quintora&querytype=4&offset=0&limit=15&flags=0&category=Amateur&device="

reads() {
  seed_sqlite "$work/reads.db" 100000
  start_server "sqlite:$work/reads.db"
  echo "== get-scores, 100,000 scores, wrk -t2 -c64 -d${seconds}s"
  wrk -t2 -c64 -d"${seconds}s" "http://127.0.0.1:$port$page" | grep -E 'Requests/sec|Non-2xx|Latency|requests in'
  echo "== get-scores, 100,000 scores, random pages (offset 0 to 10,000, hardly ever cached), wrk -t2 -c64 -d${seconds}s"
  wrk -t2 -c64 -d"${seconds}s" -s "$top/bench/server/random-page.lua" "http://127.0.0.1:$port" |
    grep -E 'Requests/sec|Non-2xx|Latency|requests in'
  stop_server
}

posts() {  # posts DB_URL LABEL
  start_server "$1"
  echo "== posts, $2, 32 concurrent posters, ${seconds}s"
  "$poster" 127.0.0.1 "$port" --clients 32 --seconds "$seconds"
  stop_server
}

latency() {
  seed_sqlite "$work/latency.db" 1000000
  echo "== 1,000,000 scores: pages read straight from the store, 2,000 of each kind"
  "$build/bench/server/page_latency" "sqlite:$work/latency.db" 2000
  start_server "sqlite:$work/latency.db"
  echo "== 1,000,000 scores: the game's page over HTTP, one client (wrk -t1 -c1 -d${seconds}s)"
  wrk -t1 -c1 -d"${seconds}s" --latency "http://127.0.0.1:$port$page" | grep -E '^ +(50|99)%|Requests/sec|Non-2xx'
  # Some device of the Pro list: its total counts all of Pro (about 333,000 entries), its rank those ahead.
  local device
  device=$(sqlite3 "$work/latency.db" "SELECT device FROM scores WHERE category = 'Pro' ORDER BY score DESC LIMIT 1 OFFSET 150000")
  echo "== 1,000,000 scores: get-rank of $device in Pro over HTTP, one client (wrk -t1 -c1 -d${seconds}s)"
  wrk -t1 -c1 -d"${seconds}s" --latency "http://127.0.0.1:$port/api/get-rank?gamename=Quintora&querytype=4&category=Pro&device=$device" |
    grep -E '^ +(50|99)%|Requests/sec|Non-2xx'
  stop_server
}

web() {
  seed_sqlite "$work/web.db" 1000000
  start_server "sqlite:$work/web.db"
  local query
  for query in "category=Amateur&querytype=4" "category=Pro&querytype=2" "category=Legend&querytype=4&page=200"; do
    echo "== web page, 1,000,000 scores: /?$query (wrk -t1 -c1 -d${seconds}s)"
    wrk -t1 -c1 -d"${seconds}s" --latency "http://127.0.0.1:$port/?$query" | grep -E '^ +(50|99)%|Requests/sec|Non-2xx'
  done
  echo "== web page, 1,000,000 scores: /?category=Amateur (wrk -t2 -c64 -d${seconds}s)"
  wrk -t2 -c64 -d"${seconds}s" "http://127.0.0.1:$port/?category=Amateur" | grep -E 'Requests/sec|Non-2xx|Latency'
  stop_server
}

kill9() {
  local db="$work/kill9.db" round lost total=0 lost_total=0
  for round in 1 2 3; do
    start_server "sqlite:$db"
    "$poster" 127.0.0.1 "$port" --clients 32 --seconds 30 --acked "$work/acked" >"$work/poster.log" &
    local poster_pid=$!
    sleep 3
    kill -9 "$server_pid"
    wait "$server_pid" 2>/dev/null || true
    server_pid=""
    wait "$poster_pid"
    # Opening the store again recovers the write-ahead log, as a restarted server would.
    start_server "sqlite:$db"
    stop_server
    sqlite3 "$db" "SELECT name FROM scores WHERE device = 'bench'" | sort >"$work/stored"
    sort "$work/acked" >"$work/acked.sorted"
    lost=$(comm -23 "$work/acked.sorted" "$work/stored" | wc -l)
    echo "== kill -9 round $round: $(wc -l <"$work/acked") posts acknowledged before the kill, $lost of them lost"
    total=$((total + $(wc -l <"$work/acked")))
    lost_total=$((lost_total + lost))
    sqlite3 "$db" "DELETE FROM scores; DELETE FROM used_signatures"  # the next round posts the same names
  done
  echo "== kill -9: $total acknowledged posts in 3 rounds, $lost_total lost"
  [ "$lost_total" -eq 0 ]
}

slow() {
  start_server "sqlite:$work/slow.db"
  echo "== 1,024 slow connections from 127.0.0.2 to 127.0.0.9, /healthz from 127.0.0.200 twice a second, 45 s"
  python3 "$top/bench/server/slow_clients.py" "$port" --count 1024 --addresses 8 --seconds 45
  stop_server
}

cache_rss() {
  start_server "sqlite:$work/rss.db"  # creates the schema
  stop_server
  local emoji
  emoji=$(python3 -c 'print("\U0001F600" * 24)')
  sqlite3 "$work/rss.db" "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300)
    INSERT INTO scores (game, category, name, score, country, device, date, extra)
    SELECT 'Quintora', 'Pro', '$emoji', i, 'JP', 'd' || i, strftime('%s', 'now'), '' FROM n;"
  start_server "sqlite:$work/rss.db"
  echo "== RSS before: $(awk '/VmRSS/ {print $2, $3}' "/proc/$server_pid/status")"
  python3 - "$port" <<'PY'
import http.client, sys
connection = http.client.HTTPConnection("127.0.0.1", int(sys.argv[1]), timeout=10)
for i in range(4095):  # distinct (offset, limit) pairs, each a page of up to 100 rows
    connection.request("GET", f"/api/get-scores?gamename=Quintora&offset={i % 200}&limit={100 - i // 200}")
    connection.getresponse().read()
PY
  echo "== RSS after 4,095 distinct pages: $(awk '/VmRSS/ {print $2, $3}' "/proc/$server_pid/status")"
  stop_server
}

replay_posts() {
  local replay=${QUINTORA_BENCH_REPLAY:-} verifier="$build/app/quintora"
  if [ -z "$replay" ]; then
    replay="$work/random.qreplay"
    head -c 10240 /dev/urandom >"$replay"
    # Reads the replay and spends about 0.2 s of CPU on it, as a verification of a short run would.
    verifier="$work/burner"
    printf '#!/bin/sh\ncat >/dev/null\nawk "BEGIN { for (i = 0; i < 8000000; i++) s += i }"\n%s\n' \
      "echo '{\"verdict\":\"invalid\",\"reason\":\"bench\"}'" >"$verifier"
    chmod +x "$verifier"
  fi
  start_server "sqlite:$work/replays.db" --verifier "$verifier"
  echo "== posts with a replay of $(stat -c %s "$replay") bytes each, SQLite, 32 concurrent posters, ${seconds}s, verifier $verifier"
  "$poster" 127.0.0.1 "$port" --clients 32 --seconds "$seconds" --replay "$replay"
  curl -s "http://127.0.0.1:$port/metrics" | grep -E '^quintora_verifications_(total\{verdict="[a-z-]*"\} [1-9]|pending)' |
    sed 's/^/   /'
  stop_server
}

# Reads with wrk (p99 from its latency distribution) and posts with the poster, against HOST_PORT.
cluster_figures() {  # cluster_figures LABEL PORT
  echo "== $1: get-scores, wrk -t2 -c64 -d${seconds}s"
  wrk -t2 -c64 -d"${seconds}s" --latency "http://127.0.0.1:$2$page" | grep -E '^ +99%|Requests/sec|Non-2xx'
  echo "== $1: posts, 32 concurrent posters, ${seconds}s"
  "$poster" 127.0.0.1 "$2" --clients 32 --seconds "$seconds"
}

cluster() {
  start_throwaway_postgres
  start_server "$POSTGRES_URL"
  cluster_figures "one server, no proxy" "$port"
  stop_server
  local count
  for count in 1 3; do
    start_cluster "$count" "$POSTGRES_URL" --rate 0
    cluster_figures "$count server(s) behind HAProxy" "${cluster_url##*:}"
    stop_cluster
  done
}

case "${1:-all}" in
  reads) reads ;;
  posts-sqlite) posts "sqlite:$work/posts.db" SQLite ;;
  posts-postgres) start_throwaway_postgres && posts "$POSTGRES_URL" PostgreSQL ;;
  latency) latency ;;
  web) web ;;
  kill9) kill9 ;;
  slow) slow ;;
  cache-rss) cache_rss ;;
  replay-posts) replay_posts ;;
  cluster) cluster ;;
  all)
    reads
    posts "sqlite:$work/posts.db" SQLite
    start_throwaway_postgres && posts "$POSTGRES_URL" PostgreSQL
    latency
    web
    kill9
    slow
    cache_rss
    replay_posts
    stop_throwaway_postgres
    cluster
    ;;
  *) echo "usage: bench/server.sh reads|posts-sqlite|posts-postgres|latency|web|kill9|slow|cache-rss|replay-posts|cluster|all" >&2
     exit 2 ;;
esac
