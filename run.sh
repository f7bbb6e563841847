#!/usr/bin/env bash
# Installs what is missing, builds, and starts OpglProject from build/bin (the folder that
# holds Data/). Without a display it runs the program under Xvfb, saves a screenshot to
# build/screenshot.png, closes the program normally and exits.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
opgl_install_packages
opgl_build -DOPGL_TESTS=OFF -DOPGL_BENCH=OFF

cd build/bin
if [ -n "${DISPLAY:-}" ]; then
  exec ./OpglProject
fi

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY="$display" ./OpglProject &
program=$!
sleep "${OPGL_SHOT_DELAY:-5}"
DISPLAY="$display" gm import -window root ../screenshot.png
kill -TERM "$program"
wait "$program"
echo "Screenshot saved to build/screenshot.png; settings in build/bin/OpglProject.ini"
