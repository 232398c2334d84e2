# Sourced by the scripts that start the window under Xvfb. start_xvfb WORK
# starts a server of its own on a free display (its pid in $server), exports
# DISPLAY once the server answers, and gives the program a private runtime
# folder under WORK; the X11 platform is used whatever the session is.
start_xvfb() {
  local work=$1
  exec 3> "$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  server=$!
  exec 3>&-
  for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.05; done
  export DISPLAY=":$(tr -d '\n' < "$work/display")"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  export XDG_RUNTIME_DIR="$work/run"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
}
