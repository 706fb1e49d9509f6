#!/usr/bin/env bash
# A local update server for trying the online update on one machine.
#   scripts/update-server.sh start DIR [--newer]   make (first time) and start a PostgreSQL cluster in
#                                                  DIR, publish the current build's modules, and
#                                                  point build/app at it
#   scripts/update-server.sh stop DIR              stop the cluster (DIR keeps its data)
# start creates in DIR: the cluster (data/), its socket, the signing key update.key and its public
# half ksupdate.pub (both made once). It writes build/app/KSUPDATE.INI and copies ksupdate.pub
# beside the program. --newer publishes the modules stamped one minute later than the build's
# files, so that "Online Update..." in the program lists them. The server accepts password
# logins by SCRAM only; the password is kept in DIR/passfile (libpq's password file format), which
# the program finds through PGPASSFILE.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
command=${1:?start or stop}
dir=${2:?directory}
newer=${3:-}
build="$root/build"
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
[ -n "$bindir" ] || { echo "PostgreSQL server programs not found (scripts/install-deps.sh installs them)" >&2; exit 2; }
as_owner() { if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }
port=54329
user=phonomir_publisher

if [ "$command" = stop ]; then
  as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop
  exit 0
fi
[ "$command" = start ] || { echo "usage: $0 start|stop DIR [--newer]" >&2; exit 2; }

mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
case "$dir" in *.*) echo "DIR must not contain a dot: it is also the server's name" >&2; exit 2;; esac
if [ ! -d "$dir/data" ]; then
  password=$(head -c 18 /dev/urandom | base64 | tr -d '/+=')
  printf '%s\n' "$password" >"$dir/password"
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$dir" "$dir/password"; fi
  as_owner "$bindir/initdb" -D "$dir/data" -U "$user" --pwfile="$dir/password" \
    --auth-local=scram-sha-256 --auth-host=scram-sha-256 -E UTF8 --locale=C >/dev/null
  rm -f "$dir/password"
  printf "listen_addresses = ''\nport = %s\nunix_socket_directories = '%s'\n" "$port" "$dir" >>"$dir/data/postgresql.conf"
  printf '*:*:*:%s:%s\n' "$user" "$password" >"$dir/passfile"
  chmod 600 "$dir/passfile"
fi
if [ ! -f "$dir/data/postmaster.pid" ]; then
  as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w start >/dev/null
fi
export PGPASSFILE="$dir/passfile"

cmake --build "$build" --target phonomir ksupdate phonomir-update-install phonomir-update-publish >/dev/null
publish="$build/update/phonomir-update-publish"
connection=(--server "$dir" --port "$port" --user "$user" --database postgres)
if [ ! -f "$dir/update.key" ]; then
  "$publish" keygen "$dir/update.key" "$dir/ksupdate.pub"
fi
"$publish" "${connection[@]}" init

stage="$dir/staged"
rm -rf "$stage"
mkdir -p "$stage"
add() {  # PRODUCT NAME FILE-IN-build/app
  local file="$build/app/$3" staged="$stage/$3"
  cp -p "$file" "$staged"
  if [ "$newer" = --newer ]; then touch -d "@$(( $(stat -c %Y "$file") + 60 ))" "$staged"; fi
  "$publish" "${connection[@]}" --key "$dir/update.key" add "$1" "$2" "<C>$3" "$staged" >/dev/null
}
add SONIKATEA "Phonomir program" phonomir
add SONIKATEA "Online update library" libksupdate.so
add KSUPDATE "Update installer" phonomir-update-install

cp "$dir/ksupdate.pub" "$build/app/ksupdate.pub"
printf '[KsUpdate]\nServer=%s\nPort=%s\nUser=%s\nDatabase=postgres\n' "$dir" "$port" "$user" >"$build/app/KSUPDATE.INI"
echo "Update server running in $dir (socket there, port $port); modules published:"
"$publish" "${connection[@]}" list | cut -f1-5
echo "Start the program with PGPASSFILE=$dir/passfile and choose \"Online Update...\" in the panel's menu."
