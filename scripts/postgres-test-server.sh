#!/usr/bin/env bash
# Starts or stops a throwaway PostgreSQL cluster for the tests that need a real server.
#   scripts/postgres-test-server.sh start DIR   initdb in DIR/data, listen on a Unix socket in DIR
#                                              and on 127.0.0.1 (TLS on when openssl is there),
#                                              password login by SCRAM only
#   scripts/postgres-test-server.sh stop DIR    stop it and remove DIR
# After start, DIR holds: socket (the socket directory), port, tcp-port, user, database,
# passfile (libpq's password file for that user), tls (present when TLS is on); or the single
# file "absent" when the PostgreSQL server programs are not installed, and the tests skip.
# As root the cluster runs as the user postgres (initdb refuses root).
set -euo pipefail
command=${1:?start or stop}
dir=${2:?directory}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
as_owner() { if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }

if [ "$command" = stop ]; then
  if [ -n "$bindir" ] && [ -f "$dir/data/postmaster.pid" ]; then
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  exit 0
fi

[ "$command" = start ] || { echo "usage: $0 start|stop DIR" >&2; exit 2; }
"$0" stop "$dir"
mkdir -p "$dir"
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "PostgreSQL server programs not found; the server tests will skip" | tee "$dir/absent"
  exit 0
fi

free_port() {
  local port
  for port in $(shuf -i 40000-59999 -n 50); do
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then echo "$port"; return; fi
  done
  return 1
}

user=phonomir_admin
password=$(head -c 18 /dev/urandom | base64 | tr -d '/+=')
port=$(free_port)
printf '%s\n' "$password" >"$dir/password"
chmod 700 "$dir"
if [ "$(id -u)" -eq 0 ]; then chown -R postgres: "$dir"; fi
as_owner "$bindir/initdb" -D "$dir/data" -U "$user" --pwfile="$dir/password" \
  --auth-local=scram-sha-256 --auth-host=scram-sha-256 -E UTF8 --locale=C >"$dir/initdb.log" 2>&1
rm -f "$dir/password"
{
  echo "listen_addresses = '127.0.0.1'"
  echo "port = $port"
  echo "unix_socket_directories = '$dir'"
  echo "password_encryption = 'scram-sha-256'"
  echo "fsync = off"
  echo "max_connections = 40"
} >>"$dir/data/postgresql.conf"
if command -v openssl >/dev/null; then
  as_owner openssl req -new -x509 -days 2 -nodes -subj /CN=localhost -keyout "$dir/data/server.key" \
    -out "$dir/data/server.crt" >/dev/null 2>&1
  as_owner chmod 600 "$dir/data/server.key"
  echo "ssl = on" >>"$dir/data/postgresql.conf"
  touch "$dir/tls"
fi
as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 start >/dev/null
printf '*:*:*:%s:%s\n' "$user" "$password" >"$dir/passfile"
chmod 600 "$dir/passfile"
if [ "$(id -u)" -eq 0 ]; then chown root: "$dir/passfile"; chmod 755 "$dir"; fi
PGPASSFILE="$dir/passfile" "$bindir/psql" -h "$dir" -p "$port" -U "$user" -d postgres -q \
  -c "CREATE DATABASE updates" >/dev/null
echo "$dir" >"$dir/socket"
echo "$port" >"$dir/port"
echo "$port" >"$dir/tcp-port"
echo "$user" >"$dir/user"
echo updates >"$dir/database"
echo "PostgreSQL test server on $dir, port $port"
