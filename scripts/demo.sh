#!/usr/bin/env bash
# Installs what is missing, builds, and starts Orvane connected to an
# emulated reader on a pseudo-terminal. The program runs with a throw-away
# settings folder, so your own settings are not touched; the emulator stops
# when the program ends. Extra arguments go to the emulator (see
# build/bin/orvane-emulator --help), e.g. scripts/demo.sh --model basic.
# BUILD_DIR (default build) and JOBS (default: all cores) choose the build.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}

scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"${JOBS:-$(nproc)}" --target orvane orvane-emulator orvane_catalogue

workdir=$(mktemp -d)
emulator_pid=
cleanup() {
    if [[ -n $emulator_pid ]]; then
        kill "$emulator_pid" 2>/dev/null || true
        wait "$emulator_pid" 2>/dev/null || true
    fi
    rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

"$build/bin/orvane-emulator" --model extended --records 25 --log "$workdir/requests.log" "$@" \
    </dev/null >"$workdir/emulator.out" &
emulator_pid=$!

port=
for _ in $(seq 100); do
    port=$(head -n 1 "$workdir/emulator.out" 2>/dev/null || true)
    [[ -n $port ]] && break
    kill -0 "$emulator_pid" 2>/dev/null || break
    sleep 0.1
done
if [[ -z $port ]]; then
    echo "The reader emulator did not start." >&2
    exit 1
fi

# The emulator's port is COM40 through the "Devices" table of the settings.
mkdir -p "$workdir/config/Meridel Applikationen"
cat >"$workdir/config/Meridel Applikationen/Orvane.conf" <<CONF
[Devices]
COM40=$port

[Port]
Name=COM40
CONF

echo "Emulated reader on $port (COM40); its request log: $workdir/requests.log"
XDG_CONFIG_HOME="$workdir/config" "$build/bin/orvane" || true

cat <<'TEXT'

To use a real reader, start the program with your own settings:
    build/bin/orvane
and choose its COM port or USB adapter under "Einstellungen > Schnittstelle wählen".
A serial port that the list does not show can be named in
~/.config/Meridel Applikationen/Orvane.conf, e.g.
    [Devices]
    COM5=/dev/serial/by-id/usb-...-port0
TEXT
