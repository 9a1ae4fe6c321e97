# Shared shell routines of the set-up, test, run and bench scripts.
# Sourced, not run. Callers use `set -euo pipefail`.

QEV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QEV_BUILD_DIR=${QEV_BUILD_DIR:-$QEV_ROOT/build}
case $QEV_BUILD_DIR in /*) ;; *) QEV_BUILD_DIR=$QEV_ROOT/$QEV_BUILD_DIR ;; esac
export QEV_BUILD_DIR
QEV_WINE_RUN=$QEV_ROOT/scripts/wine-run

qev_log() { printf '== %s\n' "$*" >&2; }
qev_die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# True when this host executes 32-bit x86 programs (the 32-bit Wine loader).
# Some virtual machines run only 64-bit user code; there the same sources are
# built and tested as x86-64 under wine64.
qev_host_runs_i386() {
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Target architecture: QEV_ARCH (i686 or x86_64) when set, else i686 when the
# host can run it, else x86_64.
qev_arch() {
    if [ -n "${QEV_ARCH:-}" ]; then
        case $QEV_ARCH in i686|x86_64) echo "$QEV_ARCH" ;; *) qev_die "QEV_ARCH must be i686 or x86_64" ;; esac
    elif qev_host_runs_i386; then
        echo i686
    else
        echo x86_64
    fi
}

qev_toolchain_file() {
    case $(qev_arch) in
        i686) echo "$QEV_ROOT/cmake/toolchain-mingw32.cmake" ;;
        x86_64) echo "$QEV_ROOT/cmake/toolchain-mingw64.cmake" ;;
    esac
}

# Configure once (again only when the toolchain changed), then build with all cores.
qev_build() {
    local toolchain cached=""
    toolchain=$(qev_toolchain_file)
    if [ -f "$QEV_BUILD_DIR/CMakeCache.txt" ]; then
        cached=$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$QEV_BUILD_DIR/CMakeCache.txt")
        if [ "$(basename "$cached")" != "$(basename "$toolchain")" ]; then
            qev_log "toolchain changed ($cached -> $toolchain): new build directory"
            rm -rf "$QEV_BUILD_DIR"
        fi
    fi
    # Configure again too when an earlier configure failed to generate.
    if [ ! -f "$QEV_BUILD_DIR/CMakeCache.txt" ] || [ ! -f "$QEV_BUILD_DIR/CMakeFiles/Makefile.cmake" ]; then
        qev_log "configure ($(qev_arch)) in $QEV_BUILD_DIR"
        mkdir -p "$QEV_BUILD_DIR"
        cmake -S "$QEV_ROOT" -B "$QEV_BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            >"$QEV_BUILD_DIR/configure.log" 2>&1 \
            || { cat "$QEV_BUILD_DIR/configure.log" >&2; qev_die "configure failed"; }
    fi
    qev_log "build"
    cmake --build "$QEV_BUILD_DIR" --parallel "$(nproc)"
}

qev_wine() { "$QEV_WINE_RUN" "$@"; }

# The wineserver binary itself (the /usr/bin wrapper forces -p0).
qev_wineserver() {
    local ws
    for ws in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver32; do
        if [ -x "$ws" ] && "$ws" --version >/dev/null 2>&1; then
            WINEPREFIX=$QEV_WINEPREFIX_DIR "$ws" "$@"
            return
        fi
    done
    qev_die "no runnable wineserver"
}

# Windows path of a host path (drive Z: is the host root in every prefix).
qev_winpath() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }

QEV_XVFB_PID=""
QEV_KEEPALIVE_PID=""
QEV_SERVER_UP=""

# Xvfb on a free display at 24 bits; exports DISPLAY.
qev_start_xvfb() {
    local fdfile n=0
    command -v Xvfb >/dev/null || qev_die "Xvfb missing: run scripts/setup"
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    QEV_XVFB_PID=$!
    while [ ! -s "$fdfile" ]; do
        kill -0 "$QEV_XVFB_PID" 2>/dev/null || { rm -f "$fdfile"; qev_die "Xvfb did not start"; }
        n=$((n + 1)); [ $n -lt 200 ] || { rm -f "$fdfile"; qev_die "Xvfb gave no display"; }
        sleep 0.05
    done
    export DISPLAY=:$(head -n1 "$fdfile" | tr -dc 0-9)
    rm -f "$fdfile"
    qev_log "Xvfb on $DISPLAY"
}

# Prefix settings, applied on creation and again whenever this text changes:
# - crashes end the process instead of waiting on an invisible dialog;
# - requested face names survive in the OLE font object;
# - no window manager runs on Xvfb: unmanaged windows spare a 2 s wait for
#   one at every destruction of a visible top-level window.
qev_prefix_settings() {
    printf '%s\r\n' 'REGEDIT4' '' \
        '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"Times New Roman"="Liberation Serif"' \
        '"Arial"="Liberation Sans"' \
        '"MS Sans Serif"="Liberation Sans"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' ''
}

# The test prefix (32-bit for i686, 64-bit for x86_64): created once, its
# settings re-applied when they change.
qev_prefix() {
    QEV_WINEPREFIX_DIR=${QEV_WINEPREFIX:-$QEV_BUILD_DIR/wineprefix}
    export QEV_WINEPREFIX=$QEV_WINEPREFIX_DIR
    local marker="$QEV_WINEPREFIX_DIR/.qev-ready" log="$QEV_BUILD_DIR/wineboot.log"
    local want
    want=$(qev_prefix_settings | md5sum | cut -d' ' -f1)
    if [ -f "$marker" ] && [ "$(cat "$marker")" = "$want" ]; then
        return
    fi
    if [ ! -f "$marker" ]; then
        qev_log "create Wine prefix $QEV_WINEPREFIX_DIR"
        rm -rf "$QEV_WINEPREFIX_DIR"
        mkdir -p "$(dirname "$QEV_WINEPREFIX_DIR")"
        qev_wine wineboot -i >"$log" 2>&1 || { cat "$log" >&2; qev_die "wineboot failed"; }
    fi
    local reg="$QEV_WINEPREFIX_DIR/qev-settings.reg"
    qev_prefix_settings >"$reg"
    qev_wine regedit /S "$(qev_winpath "$reg")" >>"$log" 2>&1 || { cat "$log" >&2; qev_die "regedit failed"; }
    qev_wine reg query 'HKCU\Software\Wine\X11 Driver' /v Managed 2>/dev/null | grep 'REG_SZ.*N' >/dev/null \
        || qev_die "prefix settings were not applied"
    echo "$want" >"$marker"
}

# Display, persistent wineserver and one long-lived hidden window process:
# each later Wine start then takes a fraction of a second.
qev_session_start() {
    if [ "$(qev_arch)" = i686 ] && ! qev_host_runs_i386; then
        qev_die "this host cannot execute 32-bit programs: an i686 build cannot run here (unset QEV_ARCH)"
    fi
    qev_start_xvfb
    qev_prefix
    # Exit status 2: a server already runs for this prefix; it stays up while
    # the keep-alive window lives.
    local rc=0
    qev_wineserver -p || rc=$?
    [ "$rc" -eq 0 ] || [ "$rc" -eq 2 ] || qev_die "wineserver did not start (exit $rc)"
    QEV_SERVER_UP=1
    if [ -f "$QEV_BUILD_DIR/bin/keepalive.exe" ]; then
        local ready="$QEV_BUILD_DIR/keepalive.ready" n=0
        rm -f "$ready"
        qev_wine "$QEV_BUILD_DIR/bin/keepalive.exe" "$(qev_winpath "$ready")" >/dev/null 2>&1 &
        QEV_KEEPALIVE_PID=$!
        # Programs started while the desktop is still coming up can hang at exit.
        while [ ! -f "$ready" ]; do
            kill -0 "$QEV_KEEPALIVE_PID" 2>/dev/null || qev_die "keepalive.exe ended early"
            n=$((n + 1)); [ $n -lt 1200 ] || qev_die "keepalive.exe not ready after 60 s"
            sleep 0.05
        done
        rm -f "$ready"
    fi
}

qev_session_stop() {
    if [ -n "$QEV_KEEPALIVE_PID" ]; then
        kill "$QEV_KEEPALIVE_PID" 2>/dev/null || true
        wait "$QEV_KEEPALIVE_PID" 2>/dev/null || true
        QEV_KEEPALIVE_PID=""
    fi
    if [ -n "$QEV_SERVER_UP" ]; then
        qev_wineserver -k 2>/dev/null || true
        QEV_SERVER_UP=""
    fi
    if [ -n "$QEV_XVFB_PID" ]; then
        kill "$QEV_XVFB_PID" 2>/dev/null || true
        wait "$QEV_XVFB_PID" 2>/dev/null || true
        QEV_XVFB_PID=""
    fi
}

# Control libraries: every DLL in bin/ that exports DllRegisterServer.
qev_control_dlls() {
    local dll objdump
    objdump=$(qev_arch)-w64-mingw32-objdump
    for dll in "$QEV_BUILD_DIR"/bin/*.dll; do
        [ -e "$dll" ] || continue
        # grep reads to the end: an early exit would fail the pipe (SIGPIPE).
        if "$objdump" -p "$dll" | grep -w DllRegisterServer >/dev/null; then
            echo "$dll"
        fi
    done
}

# Registers every control library; any failure stops the caller.
qev_register_all() {
    local dll rc
    while IFS= read -r dll; do
        [ -n "$dll" ] || continue
        rc=0
        qev_wine regsvr32 /s "$(qev_winpath "$dll")" || rc=$?
        [ "$rc" -eq 0 ] || qev_die "registration of $(basename "$dll") failed (exit $rc)"
        qev_log "registered $(basename "$dll")"
    done < <(qev_control_dlls)
}
