# Shared shell routines of the set-up, test, run and bench scripts.
# Sourced, not run. Callers use `set -euo pipefail`.
#
# Each architecture has its own build folder and Wine prefix:
#   <build root>/i686     the shipped 32-bit libraries and their tests
#   <build root>/x86_64   the same sources built for 64-bit Windows
# The build root is QEV_BUILD_DIR (default build/). Both prefixes are 64-bit
# Wine prefixes served by the native 64-bit wineserver; i686 programs run in
# the prefix's 32-bit half, natively where the host runs 32-bit code and
# otherwise under qemu-i386 (scripts/wine-run decides per program start).

QEV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QEV_BUILD_ROOT=${QEV_BUILD_DIR:-$QEV_ROOT/build}
case $QEV_BUILD_ROOT in /*) ;; *) QEV_BUILD_ROOT=$QEV_ROOT/$QEV_BUILD_ROOT ;; esac
QEV_WINE_RUN=$QEV_ROOT/scripts/wine-run

qev_log() { printf '== %s\n' "$*" >&2; }
qev_die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# True when this host executes 32-bit x86 programs itself. Some virtual
# machines run only 64-bit user code; there scripts/wine-run emulates the
# 32-bit Wine loader with qemu-i386.
qev_host_runs_i386() {
    [ -x /usr/lib/wine/wine ] && ( /usr/lib/wine/wine --version && true ) >/dev/null 2>&1
}

# How i686 programs run: "native" or "emulated" (QEV_I386 forces either).
qev_i386_mode() {
    case ${QEV_I386:-} in
        native|emulated) echo "$QEV_I386" ;;
        "") if qev_host_runs_i386; then echo native; else echo emulated; fi ;;
        *) qev_die "QEV_I386 must be native or emulated" ;;
    esac
}

# The architectures a run covers: QEV_ARCH (i686 or x86_64) when set, else both.
qev_arches() {
    case ${QEV_ARCH:-} in
        "") echo i686 x86_64 ;;
        i686|x86_64) echo "$QEV_ARCH" ;;
        *) qev_die "QEV_ARCH must be i686 or x86_64" ;;
    esac
}

# The routines below work on one architecture, chosen with qev_use_arch.
qev_use_arch() {
    QEV_CUR_ARCH=$1
    QEV_CUR_BUILD=$QEV_BUILD_ROOT/$1
    QEV_CUR_PREFIX=$QEV_CUR_BUILD/wineprefix
}

# Test timeouts are scaled up where the 32-bit programs are emulated.
qev_timeout_scale() {
    if [ "$QEV_CUR_ARCH" = i686 ] && [ "$(qev_i386_mode)" = emulated ]; then echo 4; else echo 1; fi
}

# Configure once (again when the timeout scale changed or an earlier configure
# failed to generate), then build with all cores.
qev_build() {
    local scale cached="" tc
    scale=$(qev_timeout_scale)
    case $QEV_CUR_ARCH in
        i686) tc=$QEV_ROOT/cmake/toolchain-mingw32.cmake ;;
        x86_64) tc=$QEV_ROOT/cmake/toolchain-mingw64.cmake ;;
    esac
    # A build root of the earlier single-architecture layout: start afresh.
    if [ -f "$QEV_BUILD_ROOT/CMakeCache.txt" ]; then
        qev_log "old build layout in $QEV_BUILD_ROOT: removed"
        rm -rf "$QEV_BUILD_ROOT"
    fi
    if [ -f "$QEV_CUR_BUILD/CMakeCache.txt" ]; then
        cached=$(sed -n 's/^QEV_TIMEOUT_SCALE:[A-Z]*=//p' "$QEV_CUR_BUILD/CMakeCache.txt")
    fi
    if [ ! -f "$QEV_CUR_BUILD/CMakeFiles/Makefile.cmake" ] || [ "$cached" != "$scale" ]; then
        qev_log "configure $QEV_CUR_ARCH in $QEV_CUR_BUILD"
        mkdir -p "$QEV_CUR_BUILD"
        cmake -S "$QEV_ROOT" -B "$QEV_CUR_BUILD" -DCMAKE_TOOLCHAIN_FILE="$tc" -DQEV_TIMEOUT_SCALE="$scale" \
            >"$QEV_CUR_BUILD/configure.log" 2>&1 \
            || { cat "$QEV_CUR_BUILD/configure.log" >&2; qev_die "configure ($QEV_CUR_ARCH) failed"; }
    fi
    qev_log "build $QEV_CUR_ARCH"
    cmake --build "$QEV_CUR_BUILD" --parallel "$(nproc)" || qev_die "build ($QEV_CUR_ARCH) failed"
}

# A program in the current architecture's prefix, through scripts/wine-run.
qev_wine() { QEV_WINE_BUILD=$QEV_CUR_BUILD "$QEV_WINE_RUN" "$@"; }
# A 64-bit Wine tool (wineboot, regedit, reg) in the current prefix.
qev_wine64() { QEV_WINE_LOADER=64 qev_wine "$@"; }

qev_wineserver() { WINEPREFIX=$QEV_CUR_PREFIX /usr/lib/wine/wineserver64 "$@"; }

# Windows path of a host path (drive Z: is the host root in every prefix).
qev_winpath() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }

QEV_XVFB_PID=""

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

qev_stop_xvfb() {
    if [ -n "$QEV_XVFB_PID" ]; then
        kill "$QEV_XVFB_PID" 2>/dev/null || true
        wait "$QEV_XVFB_PID" 2>/dev/null || true
        QEV_XVFB_PID=""
    fi
}

# Prefix settings, applied on creation and again whenever this text changes:
# - crashes end the process instead of waiting on an invisible dialog;
# - requested face names survive in the OLE font object;
# - no window manager runs on Xvfb: unmanaged windows spare a 2 s wait for
#   one at every destruction of a visible top-level window.
# HKEY_CURRENT_USER is the same for the prefix's 32- and 64-bit programs.
qev_prefix_settings() {
    printf '%s\r\n' 'REGEDIT4' '' \
        '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"Times New Roman"="Liberation Serif"' \
        '"Arial"="Liberation Sans"' \
        '"MS Sans Serif"="Liberation Sans"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' ''
}

# The current architecture's prefix: created once (64-bit, natively; its
# 32-bit half installed by a 32-bit program where the host's wineboot could
# not run one), its settings re-applied when they change.
qev_prefix() {
    local marker="$QEV_CUR_PREFIX/.qev-ready" log="$QEV_CUR_BUILD/wineboot.log"
    local want
    want=$(qev_prefix_settings | md5sum | cut -d' ' -f1)
    if [ -f "$marker" ] && [ "$(cat "$marker")" = "$want" ]; then
        return
    fi
    if [ ! -f "$marker" ]; then
        qev_log "create Wine prefix $QEV_CUR_PREFIX"
        rm -rf "$QEV_CUR_PREFIX"
        qev_wine64 wineboot -i >"$log" 2>&1 || { cat "$log" >&2; qev_die "wineboot ($QEV_CUR_ARCH) failed"; }
        local wow=$QEV_CUR_PREFIX/drive_c/windows/syswow64
        if [ "$QEV_CUR_ARCH" = i686 ] && [ ! -f "$wow/kernel32.dll" ]; then
            qev_log "install the prefix's 32-bit half ($(qev_i386_mode))"
            mkdir -p "$wow"
            ( cd "$wow" && WINEBOOTSTRAPMODE=1 qev_wine rundll32.exe setupapi,InstallHinfSection \
                  Wow64Install 128 'Z:\usr\share\wine\wine.inf' ) >>"$log" 2>&1 \
                || { cat "$log" >&2; qev_die "32-bit half of the prefix failed"; }
            [ -f "$wow/kernel32.dll" ] || { cat "$log" >&2; qev_die "32-bit half of the prefix is missing"; }
        fi
    fi
    local reg="$QEV_CUR_PREFIX/qev-settings.reg"
    qev_prefix_settings >"$reg"
    qev_wine64 regedit /S "$(qev_winpath "$reg")" >>"$log" 2>&1 || { cat "$log" >&2; qev_die "regedit failed"; }
    qev_wine64 reg query 'HKCU\Software\Wine\X11 Driver' /v Managed 2>/dev/null | grep 'REG_SZ.*N' >/dev/null \
        || qev_die "prefix settings were not applied"
    echo "$want" >"$marker"
}

QEV_KEEPALIVE_PID=""
QEV_SERVER_UP=""

# Persistent wineserver and one long-lived hidden window process for the
# current architecture: each later Wine start then takes a fraction of a
# second. DISPLAY must be set.
qev_session_start() {
    if [ "$QEV_CUR_ARCH" = i686 ] && [ "$(qev_i386_mode)" = emulated ]; then
        command -v qemu-i386 >/dev/null || qev_die "qemu-i386 missing: run scripts/setup"
    fi
    qev_prefix
    # Exit status 2: a server already runs for this prefix; it stays up while
    # the keep-alive window lives.
    local rc=0
    qev_wineserver -p || rc=$?
    [ "$rc" -eq 0 ] || [ "$rc" -eq 2 ] || qev_die "wineserver did not start (exit $rc)"
    QEV_SERVER_UP=1
    if [ -f "$QEV_CUR_BUILD/bin/keepalive.exe" ]; then
        local ready="$QEV_CUR_BUILD/keepalive.ready" n=0
        rm -f "$ready"
        qev_wine "$QEV_CUR_BUILD/bin/keepalive.exe" "$(qev_winpath "$ready")" >/dev/null 2>&1 &
        QEV_KEEPALIVE_PID=$!
        # Programs started while the desktop is still coming up can hang at exit.
        while [ ! -f "$ready" ]; do
            kill -0 "$QEV_KEEPALIVE_PID" 2>/dev/null || qev_die "keepalive.exe ($QEV_CUR_ARCH) ended early"
            n=$((n + 1)); [ $n -lt 2400 ] || qev_die "keepalive.exe ($QEV_CUR_ARCH) not ready after 120 s"
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
}

# Proof that the current architecture's programs run as what they were built
# for: an i686 program that reports 8-byte pointers stops the run.
qev_check_pointer_size() {
    local exe=$QEV_CUR_BUILD/bin/harness_arch.exe want out
    [ -f "$exe" ] || return 0
    case $QEV_CUR_ARCH in i686) want=4 ;; x86_64) want=8 ;; esac
    out=$(qev_wine "$exe" 2>&1 | tr -d '\r') || true
    printf '%s\n' "$out" | grep -x "pointer size $want" >/dev/null \
        || qev_die "$QEV_CUR_ARCH programs do not run as $QEV_CUR_ARCH code: harness_arch.exe reported" \
               "'$(printf '%s\n' "$out" | grep '^pointer size' || echo 'no pointer size')', not 'pointer size $want'"
    qev_log "$QEV_CUR_ARCH programs run with $want-byte pointers ($([ "$QEV_CUR_ARCH" = i686 ] && qev_i386_mode || echo native))"
}

# Control libraries: every DLL in bin/ that exports DllRegisterServer.
qev_control_dlls() {
    local dll objdump
    objdump=$QEV_CUR_ARCH-w64-mingw32-objdump
    for dll in "$QEV_CUR_BUILD"/bin/*.dll; do
        [ -e "$dll" ] || continue
        # grep reads to the end: an early exit would fail the pipe (SIGPIPE).
        if "$objdump" -p "$dll" | grep -w DllRegisterServer >/dev/null; then
            echo "$dll"
        fi
    done
}

# Registers every control library of the current architecture with the
# prefix's regsvr32 of the same bitness; any failure stops the caller.
qev_register_all() {
    local dll rc
    while IFS= read -r dll; do
        [ -n "$dll" ] || continue
        rc=0
        qev_wine regsvr32 /s "$(qev_winpath "$dll")" || rc=$?
        [ "$rc" -eq 0 ] || qev_die "registration of $QEV_CUR_ARCH $(basename "$dll") failed (exit $rc)"
        qev_log "registered $QEV_CUR_ARCH $(basename "$dll")"
    done < <(qev_control_dlls)
}
