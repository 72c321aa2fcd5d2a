# Sourced by the scripts that need a private X server (screenshots, benches).
# startPrivateXvfb WORKDIR SCREEN [XVFB-OPTION...]: starts Xvfb on a display
# number it picks itself (-displayfd), with any further options given, sets
# XVFB_PID and XVFB_NUMBER, and fails when no number arrives within 10 s.
startPrivateXvfb() {
    exec 3>"$1/xvfb-display"
    Xvfb -displayfd 3 -screen 0 "$2" -nolisten tcp "${@:3}" >/dev/null 2>&1 &
    XVFB_PID=$!
    exec 3>&-
    for _ in $(seq 100); do
        [ -s "$1/xvfb-display" ] && break
        sleep 0.1
    done
    XVFB_NUMBER=$(cat "$1/xvfb-display")
    [ -n "$XVFB_NUMBER" ]
}
