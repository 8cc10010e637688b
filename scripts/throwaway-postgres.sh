# Sourced by scripts that need a PostgreSQL server: start_throwaway_postgres makes a cluster in a temporary
# folder, listening only on a unix socket inside it, and sets POSTGRES_URL; stop_throwaway_postgres stops it
# and deletes the folder (callers trap it on EXIT). initdb refuses to run as root, so as root the cluster
# belongs to the "postgres" user that Debian's package creates.

postgres_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
postgres_dir=""

as_cluster_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

start_throwaway_postgres() {
  [ -n "$postgres_bin" ] || { echo "PostgreSQL is not installed (scripts/setup.sh installs it)" >&2; return 1; }
  postgres_dir=$(mktemp -d /tmp/quintora-postgres.XXXXXX)
  chmod 755 "$postgres_dir"
  [ "$(id -u)" -ne 0 ] || chown postgres: "$postgres_dir"
  as_cluster_owner "$postgres_bin/initdb" -D "$postgres_dir/data" -U postgres -A trust -E UTF8 --no-locale \
    >"$postgres_dir/initdb.log" 2>&1 || { cat "$postgres_dir/initdb.log" >&2; return 1; }
  # Durability settings stay at their defaults: acknowledged means flushed, as in production. The
  # settings go into the cluster's own file so that a plain "pg_ctl start" brings it back the same.
  cat >>"$postgres_dir/data/postgresql.conf" <<CONF
listen_addresses = ''
unix_socket_directories = '$postgres_dir'
port = 5432
max_connections = 200
${POSTGRES_EXTRA_SETTINGS:-}
CONF
  start_postgres_again
  POSTGRES_URL="postgresql:///postgres?host=$postgres_dir&port=5432&user=postgres"
  export POSTGRES_URL
}

# Starts the cluster again after a stop (scripts use it to take the database away and bring it back).
start_postgres_again() {
  as_cluster_owner "$postgres_bin/pg_ctl" -D "$postgres_dir/data" -l "$postgres_dir/server.log" -w -t 60 start \
    >/dev/null || { cat "$postgres_dir/server.log" >&2; return 1; }
}

stop_throwaway_postgres() {
  [ -n "$postgres_dir" ] || return 0
  as_cluster_owner "$postgres_bin/pg_ctl" -D "$postgres_dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  rm -rf "$postgres_dir"
  postgres_dir=""
}
