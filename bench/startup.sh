#!/usr/bin/env bash
# Times whole runs: the editor opening a large file until it is idle and painted, beside a
# bare Qt window started the same way. Needs a display (starts Xvfb when there is none).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${ORVEL_BUILD_DIR:-$top/build}
runs=${RUNS:-5}
size_mb=${SIZE_MB:-100}

if [ -z "${DISPLAY:-}" ]; then
  Xvfb :97 -screen 0 1280x900x24 >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb' EXIT
  export DISPLAY=:97
  sleep 1
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"; [ -n "${xvfb:-}" ] && kill $xvfb' EXIT
python3 - "$tmp" "$size_mb" <<'PY'
import sys
d, mb = sys.argv[1], int(sys.argv[2])
utf8 = '<p class="x">Grüße aus Köln, café &amp; more text</p>\r\n'.encode('utf-8')
ansi = '<p class="x">Grüße aus Köln, café &amp; more text</p>\r\n'.encode('cp1252')
for name, line in (('utf8.html', utf8), ('ansi.html', ansi)):
    n = mb * 1024 * 1024 // len(line) + 1
    with open(f'{d}/{name}', 'wb') as f:
        f.write(line * n)
PY

export XDG_CONFIG_HOME=$tmp/config ORVEL_STARTUP_PROBE=1
# Wall time from the start of the process to its exit at the first idle moment, and the
# program's own report of its memory peak.
probe() {
  local t0 t1 line
  # Each run is a start whose projects root is known and whose only project is the default
  # one, so that no question waits for an answer.
  rm -rf "$tmp/config" "$tmp/sites"
  mkdir -p "$tmp/config/Brimwell"
  printf '[Config]\nStdPath=%s/sites/\n' "$tmp" >"$tmp/config/Brimwell/orvel.ini"
  t0=$(date +%s%N)
  line=$("$@" 2>&1 >/dev/null | sed -n 's/^orvel-probe: //p')
  t1=$(date +%s%N)
  printf '%6.3f s  (%s)\n' "$(echo "($t1 - $t0) / 1000000000" | bc -l)" "$line"
}
echo "bare Qt window:"
for _ in $(seq "$runs"); do probe "$build/bench/bare_window"; done
echo "orvel, no file:"
for _ in $(seq "$runs"); do probe "$build/orvel"; done
for f in utf8 ansi; do
  echo "orvel $f.html (${size_mb} MB):"
  for _ in $(seq "$runs"); do probe "$build/orvel" "$tmp/$f.html"; done
done
