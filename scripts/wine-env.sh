# Shared by the scripts that run Tolvari under Wine: a quiet prefix of the
# project's own and a private X display. Source it; it changes nothing itself.

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# The loader and server for the build that runs here (scripts/wine-arch): the
# 32-bit ones for the PE32 program, else wine64 on a 64-bit prefix. The
# /usr/bin/wine wrapper would always take the 32-bit loader when it is installed.
TOLVARI_E2E_ARCH="$("$(dirname "${BASH_SOURCE[0]}")/wine-arch")"
export TOLVARI_E2E_ARCH
if [ "$TOLVARI_E2E_ARCH" = x86_64 ]; then
  unset WINEARCH
  export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
  WINE=/usr/lib/wine/wine64
else
  export WINEARCH=win32
  unset WINELOADER WINESERVER
  WINE=wine
fi
wine_server() { "${WINESERVER:-wineserver}" "$@"; }

# tolvari_prefix DIR: creates the Wine prefix DIR once (serialised with a lock).
tolvari_prefix() {
  export WINEPREFIX="$1"
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.tolvari-ready" ]; then
      rm -rf "$WINEPREFIX"
      "$WINE" wineboot -i >/dev/null 2>&1 || true
      # Without a window manager Wine would wait at every close; draw frames ourselves.
      "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      wine_server -w
      touch "$WINEPREFIX/.tolvari-ready"
    fi
    # Wine here does not look in its own font folder; with the fonts in the
    # prefix, the dialogs get MS Sans Serif as designed.
    if [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/ms_sans_serif.ttf" ] && [ -d /usr/share/wine/fonts ]; then
      mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
      cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
  ) 9>"$WINEPREFIX.lock"
}

# tolvari_xvfb STATE_DIR: starts Xvfb on a free display; writes display and pid.
tolvari_xvfb() {
  local state="$1" n
  mkdir -p "$state"
  for n in $(seq 91 250); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    local pid=$!
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$pid" 2>/dev/null; then
      echo ":$n" >"$state/display"
      echo "$pid" >"$state/xvfb.pid"
      export DISPLAY=":$n"
      return 0
    fi
    kill "$pid" 2>/dev/null || true
  done
  echo "no free X display" >&2
  return 1
}

# tolvari_xvfb_stop STATE_DIR: stops only the Xvfb this state started.
tolvari_xvfb_stop() {
  local state="$1"
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    rm -f "$state/xvfb.pid" "$state/display"
  fi
}

# unix path -> Windows path on Wine's Z: drive
tolvari_winpath() {
  printf 'Z:%s' "$(realpath "$1" | sed 's#/#\\#g')"
}
