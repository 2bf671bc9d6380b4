#!/usr/bin/env bash
# Renders the three dialogs of quarvel.exe to PNG under docs/screenshots/, beside the Linux ones:
# Wine's X11 driver on an Xvfb screen, ImageMagick's import, ktv-sim on COM1.
# scripts/windows-screenshots.sh   (after make windows and a Linux build in build/default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --build --preset default -j 2 --target ktv-sim
cmake --build --preset windows -j 2 --target quarvel windows_dialog_poser

# A prefix of its own, which draws on X instead of the tests' null driver, in a virtual desktop,
# where Wine draws the windows' frames and captions itself: Xvfb has no window manager.
mkdir -p build/windows/screenshots
. scripts/wine-prefix.sh build/windows/screenshots
wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f \
    >/dev/null 2>&1
. tests/windows/com1_device.sh
work=$(mktemp -d)
screen=:93
Xvfb "$screen" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'stop_device; wine_prefix_stop; kill $xvfb; rm -rf "$work" "$device_out"' EXIT
export DISPLAY=$screen
export LC_ALL=C.UTF-8
sleep 1
# A short name for the file path box.
cp examples/demo.a21 "$WINEPREFIX/drive_c/demo.a21"
demo='C:\demo.a21'
mkdir -p docs/screenshots

# shoot MODE NAME [KTV_SIM OPTION]...
shoot() {
    local mode=$1 name=$2
    shift 2
    start_device build/default/sim/ktv-sim "$@"
    wine build/windows/src/app/quarvel.exe >/dev/null 2>&1 &
    local quarvel=$! geometry
    geometry=$(wine build/windows/tools/windows_dialog_poser.exe "$mode" "$demo" | tr -d '\r')
    # The last paint reaches the screen.
    sleep 1
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop "$geometry" +repage "docs/screenshots/$name.png"
    wineserver -k
    wait "$quarvel" || true
    stop_device
}

shoot loader windows_loader_dialog
shoot loading windows_loading_dialog --pace
shoot retry windows_retry_dialog --fault status:40:03:3
echo "screenshots written to docs/screenshots/"
