#!/usr/bin/env bash
# Sourced by ./test: starts a private PostgreSQL server on loopback for the server tests and stops
# it when the script ends. Without a server the server tests are skipped on a developer's machine;
# under CI (CI=true) the run fails with the reason, so a green run always means both engines ran.
no_private_postgres() {
  if [ "${CI:-}" = true ]; then
    echo "The private PostgreSQL server is needed under CI: $1" >&2
    [ -n "${PG_DIR:-}" ] && cat "$PG_DIR"/*.log >&2 2>/dev/null
    exit 1
  fi
  echo "$1: server tests skipped"
}

start_private_postgres() {
  local bin
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  [ -n "$bin" ] && [ -x "$bin/initdb" ] || { no_private_postgres "PostgreSQL not found"; return 0; }
  PG_DIR=$(mktemp -d /tmp/qiheng-pg.XXXXXX)
  chmod 755 "$PG_DIR"
  local as=()
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres "$PG_DIR"
    as=(runuser -u postgres --)
  fi
  local port=$((20000 + RANDOM % 20000))
  if "${as[@]}" "$bin/initdb" -D "$PG_DIR/data" -A trust -U postgres >"$PG_DIR/init.log" 2>&1 &&
     "${as[@]}" "$bin/pg_ctl" -D "$PG_DIR/data" -l "$PG_DIR/server.log" -w \
       -o "-p $port -k $PG_DIR -c listen_addresses=127.0.0.1" start >/dev/null 2>&1 &&
     "${as[@]}" "$bin/psql" -h 127.0.0.1 -p "$port" -U postgres -q -c "create database spc" >/dev/null 2>&1; then
    export QIHENG_SPC_PG_URL="postgresql://postgres@127.0.0.1:$port/spc"
    PG_STOP=("${as[@]}" "$bin/pg_ctl" -D "$PG_DIR/data" -m fast stop)
    trap 'stop_private_postgres' EXIT
  else
    no_private_postgres "PostgreSQL did not start"
  fi
}

stop_private_postgres() {
  if [ -n "${PG_STOP+x}" ]; then "${PG_STOP[@]}" >/dev/null 2>&1 || true; fi
  [ -n "${PG_DIR:-}" ] && rm -rf "$PG_DIR"
}
