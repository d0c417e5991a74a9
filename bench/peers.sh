#!/usr/bin/env bash
# peers.sh - Quirkpad side by side with the editors Linux users already have.
#
#   bench/peers.sh [OUT]          (OUT defaults to /tmp/qp-peers)
#
# Installs what the measurement needs (Debian packages, as root; skipped for
# what is already there), then runs the shared peer scripts (measure.sh via
# run-all.sh, under a private Xvfb) on every editor in one pass, so that the
# figures compare. Writes OUT/results.md, OUT/results.tsv and OUT/runs.log.
#
# Environment:
#   QUIRKPAD      the binary to measure (build-bench/quirkpad, a Release build)
#   PEERS         the other editors, ';'-separated (kate; featherpad; geany)
#   FILES         test files (empty.html page-1mb.html page-20mb.html oneline-5mb.html)
#   RUNS          timed runs per editor and file (5)
#   PEERS_DIR     the shared scripts (../shared/peers beside the work tree)
#   NO_INSTALL=1  do not call apt-get
#
# The machine is shared and noisy: note its load next to the figures, compare
# only editors measured in the same pass, and repeat before trusting a gap
# below 20-30 %.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
out=${1:-/tmp/qp-peers}
quirkpad=${QUIRKPAD:-$root/build-bench/quirkpad}
peers=${PEERS:-kate; featherpad; geany}
runs=${RUNS:-5}
peers_dir=${PEERS_DIR:-}
if [ -z "$peers_dir" ]; then
  for d in "$root/../shared/peers" /work/shared/peers; do
    [ -x "$d/measure.sh" ] && { peers_dir=$(cd "$d" && pwd); break; }
  done
fi
[ -n "$peers_dir" ] && [ -x "$peers_dir/measure.sh" ] || { echo "peers.sh: no measure.sh (set PEERS_DIR)" >&2; exit 2; }
[ -x "$quirkpad" ] || {
  echo "peers.sh: $quirkpad is not built; first:" >&2
  echo "  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release && ninja -C build-bench quirkpad" >&2
  exit 2
}

# What measure.sh needs, and the peers themselves.
if [ "${NO_INSTALL:-0}" != 1 ]; then
  need=(xvfb dbus gcc libc6-dev libx11-dev python3)
  for p in $(tr ';' ' ' <<<"$peers"); do need+=("$p"); done
  missing=()
  for p in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "peers.sh: installing ${missing[*]}" >&2
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" >&2
  fi
fi

mkdir -p "$out"
{
  echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "host: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo), $(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -n1)"
  echo "os: $(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r)"
  echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "quirkpad: $quirkpad, built $(date -u -r "$quirkpad" '+%Y-%m-%d %H:%M UTC') ($(grep -s '^CMAKE_BUILD_TYPE' "$(dirname "$quirkpad")/CMakeCache.txt" | cut -d= -f2 || true)); work tree at $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?') now"
  echo "qt: $(dpkg-query -W -f='${Version}' libqt6widgets6 2>/dev/null), qscintilla: $(dpkg-query -W -f='${Version}' libqscintilla2-qt6-15 2>/dev/null)"
  echo "runs: 1 warm-up + $runs timed per editor and file"
} >"$out/conditions.txt"

export EDITORS="$peers; $quirkpad"
export FILES=${FILES:-empty.html page-1mb.html page-20mb.html oneline-5mb.html}
export MEASURE_OPTS="-r $runs -T 120 -s 20 -S 2"
"$peers_dir/run-all.sh" "$out"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/conditions.txt"
cat "$out/conditions.txt"
