# Sourced: a private, quiet Wine for the Windows programs of one build folder.
#   . scripts/wine-prefix.sh BUILD_DIR
# Exports the Wine environment, makes the prefix once, maps COM1 to the symbolic link
# $WINE_COM1_LINK (point it at a pseudo-terminal with wine_point_com1) and COM2 to a path that
# does not exist, and keeps one Wine server running until wine_prefix_stop.

wine_build_dir=$(cd "$1" && pwd)
export WINEPREFIX="$wine_build_dir/wine/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export DISPLAY=
# No Mono or Gecko install prompts.
export WINEDLLOVERRIDES="mscoree=;mshtml="
# Wine's server socket lives under TMPDIR: keep it inside the build.
export TMPDIR="$wine_build_dir/wine/tmp"
export WINE_COM1_LINK="$wine_build_dir/wine/com1"
wine_com2_missing="$wine_build_dir/wine/no-such-device"
mkdir -p "$TMPDIR"

# Points COM1 at a device, replacing the link in one step.
wine_point_com1() {
    ln -sfn "$1" "$WINE_COM1_LINK.new"
    mv -Tf "$WINE_COM1_LINK.new" "$WINE_COM1_LINK"
}

wine_prefix_stop() {
    wineserver -k 2>/dev/null || true
}

wine_prefix_start() {
    local ready="$WINEPREFIX/.quarvel-ready-null-graphics"
    if [ ! -f "$ready" ]; then
        rm -rf "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        # COM1 by the registry: Wine rewrites dosdevices/com1 to /dev/ttyS0 whenever its server
        # starts, and a real UART may be there.
        wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$WINE_COM1_LINK" /f \
            >/dev/null 2>&1
        wine reg add 'HKLM\Software\Wine\Ports' /v COM2 /t REG_SZ /d "$wine_com2_missing" /f \
            >/dev/null 2>&1
        # A crash ends the program at once with a failure, instead of starting Wine's debugger,
        # whose exit status can be 0.
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
            /v Debugger /t REG_SZ /d 'C:\no-such-debugger.exe' /f >/dev/null 2>&1
        # Windows are made, laid out and messaged without any X server: the dialog tests work
        # them only through their messages.
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d null /f \
            >/dev/null 2>&1
        wineserver -k 2>/dev/null || true
        wineserver -w
        touch "$ready"
    fi
    # One server for every program: without it each start is cold and a caller that captures
    # standard error waits for the server's exit. It writes much on a closed pseudo-terminal.
    # A server that an interrupted run left behind goes first.
    wineserver -k 2>/dev/null || true
    wineserver -w
    wineserver -p </dev/null >/dev/null 2>&1
    # The first Wine process starts Wine's services, which keep its output open.
    wine cmd /c exit 0 </dev/null >/dev/null 2>&1
}

wine_prefix_start
