# Wine plumbing shared by scripts/test and scripts/run; source it, don't run it.
#
#   wine_session_begin        a private Xvfb display, a fresh Wine prefix and a private HOME, all in
#                             one temporary folder; it installs a trap that ends them on exit
#   wine_session_run SECS EXE [ARGS...]
#                             runs EXE under the 64-bit loader, killed after SECS seconds; returns
#                             its exit status (124 on a time-out)
#   wine_session_end          ends exactly the wineserver and Xvfb the session started and removes
#                             its folder; safe to call twice
#   wine_prefix_link_cjk_fonts
#                             lets WINEPREFIX's interface fonts fall back to a Chinese font
#
# A session belongs to one shell: start it in a subshell, ( wine_session_begin; wine_session_run ...),
# so that its trap and variables stay there.

WINE_LOADER=${WINE_LOADER:-/usr/lib/wine/wine64}
WINE_SERVER=${WINE_SERVER:-/usr/lib/wine/wineserver64}
# No Mono or Gecko: nothing here uses them, and a fresh prefix would otherwise offer to fetch them.
WINE_DLL_OVERRIDES="mscoree,mshtml="

_ws_dir=""
_ws_xvfb=""

# Wine's own interface fonts have no Chinese glyphs and Wine does not fall back to the system's
# fonts for them, so every caption of ours would be boxes. Link them to WenQuanYi Micro Hei
# (fonts-wqy-microhei), as a Chinese Windows links them to its own fonts.
wine_prefix_link_cjk_fonts() {
  local face key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  for face in Tahoma "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI"; do
    "$WINE_LOADER" reg add "$key" /v "$face" /t REG_MULTI_SZ \
      /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >/dev/null 2>&1 || return 1
  done
}

wine_session_begin() {
  _ws_dir=$(mktemp -d "${TMPDIR:-/tmp}/mozhou-wine.XXXXXX")
  trap wine_session_end EXIT
  trap 'wine_session_end; exit 130' INT
  trap 'wine_session_end; exit 143' TERM

  # -displayfd picks a free display number, so parallel sessions never meet.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$_ws_dir/display" \
    >"$_ws_dir/xvfb.log" 2>&1 &
  _ws_xvfb=$!
  local i
  for ((i = 0; i < 100; i++)); do
    [ -s "$_ws_dir/display" ] && break
    kill -0 "$_ws_xvfb" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$_ws_dir/display" ]; then
    echo "wine-session: Xvfb did not start:" >&2
    cat "$_ws_dir/xvfb.log" >&2
    return 1
  fi
  DISPLAY=":$(head -n1 "$_ws_dir/display")"
  export DISPLAY

  mkdir -p "$_ws_dir/home"
  export HOME="$_ws_dir/home"  # Wine links the prefix's shell folders into HOME: keep them private
  unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_RUNTIME_DIR
  export WINEPREFIX="$_ws_dir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="$WINE_DLL_OVERRIDES"
  export WINEARCH=win64

  # Booting the prefix takes a while; do it before anything is timed. Without a window manager
  # Wine waits for one on every hide of a managed window, so windows stay unmanaged here.
  timeout -k 10 180 "$WINE_LOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >/dev/null 2>&1 || { echo "wine-session: the Wine prefix did not boot" >&2; return 1; }
  wine_prefix_link_cjk_fonts
  timeout -k 10 60 "$WINE_SERVER" -w || true
}

wine_session_run() {
  local secs=$1
  shift
  local status=0
  timeout -k 15 "$secs" "$WINE_LOADER" "$@" || status=$?
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "wine-session: $1 timed out after ${secs}s" >&2
    status=124
  fi
  return "$status"
}

wine_session_end() {
  if [ -n "${WINEPREFIX:-}" ] && [ -n "$_ws_dir" ] && [ "$WINEPREFIX" = "$_ws_dir/prefix" ]; then
    "$WINE_SERVER" -k >/dev/null 2>&1 || true
    timeout 20 "$WINE_SERVER" -w >/dev/null 2>&1 || true
  fi
  if [ -n "$_ws_xvfb" ]; then
    kill "$_ws_xvfb" 2>/dev/null || true
    wait "$_ws_xvfb" 2>/dev/null || true
    _ws_xvfb=""
  fi
  if [ -n "$_ws_dir" ]; then
    rm -rf "$_ws_dir"
    _ws_dir=""
  fi
}
