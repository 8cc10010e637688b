# Sourced by scripts that run score servers. start_server_number I starts one on port server_ports[I] with
# server_options, stop_server_number I [SIGNAL] stops it. start_cluster N DB_URL [SERVER OPTIONS...]
# starts N quintora-server processes on loopback ports and HAProxy in front of them, checking each on
# /healthz, and sets cluster_url, server_ports and server_pids; stop_cluster stops them all (callers trap it
# on EXIT). HAProxy connects to the servers from 127.0.0.2, the one address the servers trust to name the
# client in X-Forwarded-For, so a client on 127.0.0.1 is still told apart from the proxy.
# Needs $server_binary (the program) and $cluster_dir (a folder for logs and the configuration).

server_ports=()
server_pids=()
server_options=()
haproxy_pid=""
cluster_url=""

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# start_server_number I: (re)starts server I on its port with the cluster's store and options.
start_server_number() {
  local i=$1 log="$cluster_dir/server$1"
  "$server_binary" --listen "127.0.0.1:${server_ports[$i]}" "${server_options[@]}" >"$log.out" 2>>"$log.err" &
  server_pids[$i]=$!
  for _ in $(seq 100); do grep -q '^listening on ' "$log.out" 2>/dev/null && return 0; sleep 0.1; done
  echo "server $i did not start:" >&2
  cat "$log.err" >&2
  return 1
}

start_cluster() {
  local count=$1 i
  shift
  server_options=(--db "$@" --trusted-proxy 127.0.0.2)
  local proxy_port
  proxy_port=$(free_port)
  cat >"$cluster_dir/haproxy.cfg" <<CFG
global
  maxconn 4096
defaults
  mode http
  timeout connect 2s
  timeout client 30s
  timeout server 30s
  option forwardfor
  # A connection refused by a server that is gone is tried on another one; nothing was sent, so a post
  # cannot be stored twice.
  retries 2
  option redispatch
frontend ranking
  bind 127.0.0.1:$proxy_port
  default_backend servers
backend servers
  balance roundrobin
  option httpchk
  http-check send meth GET uri /healthz
  http-check expect status 200
  # Below the servers' 128 connections per address: every connection comes from this one proxy.
  default-server inter 500ms fall 2 rise 2 maxconn 100 source 127.0.0.2
CFG
  for i in $(seq 0 $((count - 1))); do
    server_ports[$i]=$(free_port)
    start_server_number "$i"
    echo "  server s$i 127.0.0.1:${server_ports[$i]} check" >>"$cluster_dir/haproxy.cfg"
  done
  haproxy -db -f "$cluster_dir/haproxy.cfg" >"$cluster_dir/haproxy.log" 2>&1 &
  haproxy_pid=$!
  cluster_url="http://127.0.0.1:$proxy_port"
  for _ in $(seq 100); do
    [ "$(curl -s -m 2 -o /dev/null -w '%{http_code}' "$cluster_url/healthz")" = 200 ] && return 0
    sleep 0.1
  done
  echo "HAProxy did not start:" >&2
  cat "$cluster_dir/haproxy.log" >&2
  return 1
}

# stop_server_number I [SIGNAL]
stop_server_number() {
  local pid=${server_pids[$1]:-}
  [ -n "$pid" ] || return 0
  kill "-${2:-TERM}" "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  server_pids[$1]=""
}

stop_cluster() {
  if [ -n "$haproxy_pid" ]; then
    kill "$haproxy_pid" 2>/dev/null || true
    wait "$haproxy_pid" 2>/dev/null || true
    haproxy_pid=""
  fi
  local i
  for i in "${!server_pids[@]}"; do stop_server_number "$i"; done
}
