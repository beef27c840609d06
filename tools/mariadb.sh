#!/usr/bin/env bash
# Starts or stops a private MariaDB server for the tests: loopback only, its own port, socket and
# data folder under build/mariadb, stopped by its pid.
# Usage: tools/mariadb.sh start|stop|status. After start, build/mariadb/port holds the TCP port.
# The test account is quarrow / quarrow-secret, with the database quarrow.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
DIR="${QUARROW_MARIADB_DIR:-$ROOT/build/mariadb}"
DATA="$DIR/data"
SOCKET="$DIR/mysqld.sock"
PIDFILE="$DIR/mysqld.pid"
PORTFILE="$DIR/port"

running() {
    [ -f "$PIDFILE" ] && kill -0 "$(cat "$PIDFILE")" 2>/dev/null
}

free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
}

start() {
    if running; then
        return 0
    fi
    command -v mariadbd >/dev/null || { echo "mariadb: mariadbd not installed" >&2; return 1; }
    mkdir -p "$DIR"
    if [ ! -d "$DATA/mysql" ]; then
        rm -rf "$DATA"
        mariadb-install-db --no-defaults --datadir="$DATA" --user=root --auth-root-authentication-method=normal \
            --skip-test-db >"$DIR/install.log" 2>&1 || { cat "$DIR/install.log" >&2; return 1; }
    fi
    local port
    port="$(free_port)"
    mariadbd --no-defaults --datadir="$DATA" --user=root --bind-address=127.0.0.1 --port="$port" \
        --socket="$SOCKET" --pid-file="$PIDFILE" --skip-name-resolve >"$DIR/server.log" 2>&1 &
    local i
    for i in $(seq 1 100); do
        mariadb-admin --no-defaults --socket="$SOCKET" -uroot ping >/dev/null 2>&1 && break
        sleep 0.1
    done
    if ! mariadb-admin --no-defaults --socket="$SOCKET" -uroot ping >/dev/null 2>&1; then
        echo "mariadb: server did not start" >&2
        cat "$DIR/server.log" >&2
        return 1
    fi
    echo "$port" >"$PORTFILE"
    mariadb --no-defaults --socket="$SOCKET" -uroot <<'SQL'
CREATE DATABASE IF NOT EXISTS quarrow;
CREATE USER IF NOT EXISTS 'quarrow'@'%' IDENTIFIED BY 'quarrow-secret';
GRANT ALL PRIVILEGES ON *.* TO 'quarrow'@'%' WITH GRANT OPTION;
-- Over TCP only the test account gets in: a connection without credentials must fail.
DELETE FROM mysql.global_priv WHERE user = 'root' AND host <> 'localhost';
DELETE FROM mysql.global_priv WHERE user = '';
FLUSH PRIVILEGES;
SQL
}

stop() {
    if running; then
        local pid
        pid="$(cat "$PIDFILE")"
        kill "$pid"
        local i
        for i in $(seq 1 100); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
    fi
    rm -f "$PORTFILE"
}

case "${1:-}" in
    start) start ;;
    stop) stop ;;
    status) running && echo "running on port $(cat "$PORTFILE")" || { echo "stopped"; exit 1; } ;;
    *) echo "usage: $0 start|stop|status" >&2; exit 2 ;;
esac
