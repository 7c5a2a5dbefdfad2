#!/bin/bash
# Runs Windows test programs under Wine in a throwaway prefix.
#
#   wine-prefix.sh PREFIX setup RECORDER.exe  new prefix, recorder as the system's
#                                             Shutdown.exe, one persistent wineserver
#   wine-prefix.sh PREFIX run PROGRAM [ARG...]   run PROGRAM under a pseudo-terminal,
#                                             so that it has a Wine console
#   wine-prefix.sh PREFIX teardown            stop that wineserver
set -euo pipefail

prefix=$1
action=$2
shift 2

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/wine.sh"
# Our recorder instead of Wine's built-in shutdown.exe.
use_wine_prefix "$prefix" shutdown.exe=n

windows_path() {  # the Z: drive of a new prefix is the Unix root
  local path
  path=$(realpath "$1")
  printf 'Z:%s' "${path//\//\\}"
}

case $action in
  setup)
    recorder=$1
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$prefix"
    mkdir -p "$(dirname "$prefix")"
    make_wine_prefix "$prefix.log"
    system32=$prefix/drive_c/windows/system32
    [ -f "$system32/shutdown.exe" ] || { echo "no system32 in $prefix" >&2; exit 1; }
    cp "$recorder" "$system32/shutdown.exe"
    # One wineserver for the whole run; the teardown stops it.
    "$wineserver" -p </dev/null >/dev/null 2>&1
    echo "Wine prefix ready: $prefix"
    ;;
  run)
    program=$1
    shift
    export KESTRIN_EXE=${KESTRIN_EXE:+$(windows_path "$KESTRIN_EXE")}
    export KESTRIN_RECORDER_EXE=${KESTRIN_RECORDER_EXE:+$(windows_path "$KESTRIN_RECORDER_EXE")}
    # Wine gives a program a console only under a terminal. The program's
    # own output goes to a file, not through Wine's terminal rendering, and
    # is shown once it has ended.
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    log=$work/output
    # script's standard input is a FIFO that this shell holds open: at end
    # of input script would send an end-of-file byte into the terminal,
    # where Wine's console would turn it into a stray key press.
    mkfifo "$work/input"
    exec 3<>"$work/input"
    command=$(printf '%q ' "$wine" "$program" "$@")
    status=0
    script -qec "$command >$(printf '%q' "$log") 2>&1" /dev/null <&3 >/dev/null || status=$?
    exec 3>&-
    cat "$log"
    exit "$status"
    ;;
  teardown)
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
    ;;
  *)
    echo "usage: $0 PREFIX setup|run|teardown ..." >&2
    exit 2
    ;;
esac
