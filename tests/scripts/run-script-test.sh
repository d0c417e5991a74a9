#!/usr/bin/env bash
# scripts/run on a build folder, with no display, as a user at a terminal
# runs it: it builds with the folder's own options (never switching its
# tests off), shows the editor on a virtual display and takes its picture,
# and Ctrl+C (SIGINT to the whole foreground group) ends it without a word.
# Usage: run-script-test.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

options() { grep -E '^(CMAKE_BUILD_TYPE|QUIRKPAD_BUILD_TESTS|QUIRKPAD_BUILD_BENCH):' "$build/CMakeCache.txt"; }
before="$(options)"

# A group of its own with Ctrl+C not ignored, as a terminal's foreground job.
set -m
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM QUIRKPAD_BUILD_DIR="$build" QUIRKPAD_SCREENSHOT="$work/shot.png" \
  bash "$here/scripts/run" >"$work/out" 2>&1 </dev/null &
group=$!
set +m

fail() {
  echo "FAIL: $1"
  echo "--- scripts/run said:"
  cat "$work/out"
  kill -KILL -- "-$group" 2>/dev/null || true
  exit 1
}

for _ in $(seq 1 600); do
  grep -q "Screenshot of the window" "$work/out" && break
  kill -0 "$group" 2>/dev/null || fail "scripts/run ended before the editor was shown"
  sleep 0.5
done
grep -q "Screenshot of the window" "$work/out" || fail "no screenshot of the editor within 5 minutes"
[ -s "$work/shot.png" ] || fail "the screenshot file is missing"

kill -INT -- "-$group"
wait "$group" || true
after_shot="$(sed -n '/Screenshot of the window/,$p' "$work/out" | tail -n +2)"
[ -z "$after_shot" ] || fail "Ctrl+C was not quiet"
[ "$(options)" = "$before" ] || fail "the build folder's options changed: $(options)"
echo "scripts/run kept the folder's options and ended quietly on Ctrl+C"
