#!/usr/bin/env bash
# Installs what is missing, builds, fills a demo data directory and starts the simulated scale and
# the desktop program on it. Demo login: user "demo", password "1234".
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
DATA=${KORVAN_DEMO_DIR:-demo-data}
mkdir -p "$DATA"
cp -rn data/demo/. "$DATA"/
SCALE_PID=""
if [ -x build/bin/korvan-scale ]; then
  build/bin/korvan-scale --store "$DATA/scale-store" &
  SCALE_PID=$!
  trap 'kill $SCALE_PID 2>/dev/null || true' EXIT
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: starting under xvfb-run (nothing will be visible)." >&2
  exec_cmd=(xvfb-run -a)
else
  exec_cmd=()
fi
"${exec_cmd[@]}" build/bin/korvan --data-dir "$DATA"
