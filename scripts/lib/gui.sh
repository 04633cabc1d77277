# The desktop program on a screen for scripts/demo and scripts/screenshots:
# a private Xvfb display, and pictures of one window cut from it.

screen_width=1280
screen_height=800

# Starts Xvfb on the first free display from :90 and exports DISPLAY; the
# caller stops it with stop_xvfb (from its EXIT trap).
start_xvfb() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 ${screen_width}x${screen_height}x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  local tries=0
  until xwd -root -silent >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -lt 50 ] || { echo "gui: Xvfb did not start on $DISPLAY" >&2; return 1; }
    sleep 0.1
  done
}

stop_xvfb() {
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}

# shoot_rect "LEFT TOP WIDTH HEIGHT" FILE.png: that part of the screen as a PNG
# (the window's rectangle as the automation program's "rect" step prints it,
# clipped to the screen).
shoot_rect() {
  local left top width height
  read -r left top width height <<<"$1"
  [ "$left" -ge 0 ] || { width=$((width + left)); left=0; }
  [ "$top" -ge 0 ] || { height=$((height + top)); top=0; }
  [ $((left + width)) -le "$screen_width" ] || width=$((screen_width - left))
  [ $((top + height)) -le "$screen_height" ] || height=$((screen_height - top))
  mkdir -p "$(dirname "$2")"
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmcut -left "$left" -top "$top" -width "$width" -height "$height" \
    | pnmtopng >"$2"
}

# Without a window manager (Xvfb) nobody draws the windows' frames and title
# bars: let Wine draw them itself in this prefix.
wine_draws_frames() {
  scripts/wine-prefix run "$1" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
}
