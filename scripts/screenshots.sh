#!/usr/bin/env bash
# Renders every dialog of the desktop program to PNG under docs/screenshots/, on Qt's offscreen
# platform: scripts/screenshots.sh [build folder, default build/default].
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/default}" && pwd)
source "$root/scripts/demo_program.sh"

cmake --build "$build" --target dialog_screenshots -j 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$root/docs/screenshots"
program=$(demo_program "$work")
# From the program's folder, so that the main dialog shows a short file name.
(cd "$work" && QT_QPA_PLATFORM=offscreen "$build/tools/dialog_screenshots" \
    "$(basename "$program")" "$root/docs/screenshots")
echo "screenshots written to docs/screenshots/"
