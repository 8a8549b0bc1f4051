#!/usr/bin/env bash
# The search in files beside ripgrep, in the same run, on a large real HTML tree (Debian's
# rust-doc: about 32,000 HTML files, 580 MB): a search ignoring case for a common word, from
# the button until the whole result tree is shown, with the window's longest pause, the time
# Cancel takes and the memory peak. Needs a display (starts Xvfb when there is none).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${ORVEL_BUILD_DIR:-$top/build}
runs=${RUNS:-3}
tree=${TREE:-/usr/share/doc/rust-doc/html}
word=${WORD:-iterator}

# Only this benchmark needs these, so it installs them itself.
bench_packages=(ripgrep rust-doc time xvfb xauth)
missing=()
for p in "${bench_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
cmake --build "$build" --target filesearch_panel >/dev/null

if [ -z "${DISPLAY:-}" ]; then
  Xvfb :98 -screen 0 1280x900x24 >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb' EXIT
  export DISPLAY=:98
  sleep 1
fi

echo "tree: $tree ($(find "$tree" -type f | wc -l) files), word: $word; load: $(cut -d' ' -f1-3 /proc/loadavg)"
rg -i -c "$word" "$tree" >/dev/null # the page cache holds the tree from here on
for run in $(seq "$runs"); do
  echo "--- run $run"
  /usr/bin/time -f "rg -i -c: %e s, peak %M KB" rg -i -c "$word" "$tree" >/dev/null
  "$build/bench/filesearch_panel" "$tree" "$word" 2 2> >(grep -v -e propagateSizeHints -e XDG_RUNTIME >&2)
done
