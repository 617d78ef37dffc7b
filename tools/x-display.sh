# Sourced by the window checks: a virtual X display of their own, in
# $display with the server's process in $xvfb; the check's exit trap ends it.
# Any local user may draw on it: the VirtualStore check runs Wine as one.
n=100
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
display=":$n"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -ac >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
i=0
until xdotool getmouselocation >/dev/null 2>&1; do
  i=$((i + 1))
  [ "$i" -ge 100 ] && { echo "the virtual display did not start" >&2; exit 1; }
  sleep 0.1
done
