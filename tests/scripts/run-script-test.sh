#!/usr/bin/env bash
# scripts/run on a build folder with no display, as at a terminal: it builds
# with the folder's own options, shows the editor on a virtual display and
# takes its picture, and Ctrl+C (SIGINT to the whole foreground group) ends
# it without a word. Usage: run-script-test.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
options() { grep -E '^(CMAKE_BUILD_TYPE|QUIRKPAD_BUILD_TESTS|QUIRKPAD_BUILD_BENCH):' "$build/CMakeCache.txt"; }
before="$(options)"

set -m   # a process group of its own, Ctrl+C not ignored: a terminal's foreground job
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM QUIRKPAD_BUILD_DIR="$build" \
  QUIRKPAD_SCREENSHOT="$work/shot.png" bash "$here/scripts/run" >"$work/out" 2>&1 </dev/null &
group=$!
set +m
fail() {
  printf 'FAIL: %s\n--- scripts/run said:\n' "$1"
  cat "$work/out"
  kill -KILL -- "-$group" 2>/dev/null || true
  exit 1
}

for _ in $(seq 1 600); do
  grep -q "Screenshot of the window" "$work/out" && break
  kill -0 "$group" 2>/dev/null || fail "scripts/run ended before the editor was shown"
  sleep 0.5
done
[ -s "$work/shot.png" ] || fail "no screenshot of the editor within 5 minutes"
kill -INT -- "-$group"
wait "$group" || true
[ -z "$(sed '1,/Screenshot of the window/d' "$work/out")" ] || fail "Ctrl+C was not quiet"
[ "$(options)" = "$before" ] || fail "the build folder's options changed: $(options)"
echo "scripts/run kept the folder's options and ended quietly on Ctrl+C"
