#!/usr/bin/env bash
# run_check.sh SCRIPT TALVCARD PROGRAM...: runs the check SCRIPT on a virtual
# X display with the accessibility bus, against the demo cards of a running
# TALVCARD; the script starts the PROGRAMs it is given as it needs them.
set -euo pipefail
script=$1
talvcard=$2
shift 2
for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c "import gi; gi.require_version('Atspi', '2.0')" 2>/dev/null ||
  { echo "skipped: python3-gi with Atspi is not installed"; exit 77; }

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
chmod 700 "$work"
export XDG_RUNTIME_DIR=$work TALVSTRM_DIR=$work/cards TALVMON_INI=$work/talvmon.ini HOME=$work
export TALVCARD=$talvcard

"$talvcard" >"$work/talvcard.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do grep -q serving "$work/talvcard.log" && break; sleep 0.1; done

Xvfb -displayfd 3 -screen 0 1400x1000x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  # A program started before the accessibility bus answers never joins it.
  /usr/bin/python3 "$(dirname "$1")/await_bus.py"
  exec /usr/bin/python3 "$@"
' check "$script" "$@"
