# Sourced by the scripts that need a private Wayland compositor (the
# Wayland screenshot, bench/tile). sway refuses to run as root, so as root
# everything runs as the system user tavock-test (made once).
# startPrivateSway WORKDIR OUTPUT-MODE: starts a headless sway with
# WORKDIR as its runtime folder, sets SWAY_PID and SWAY_SOCKET (the
# WAYLAND_DISPLAY of its clients), and fails when no socket comes in 10 s.
# asSwayUser VAR=VALUE... COMMAND...: replaces the (sub)shell it runs in by
# COMMAND as that user, in a clean environment for that compositor, so that
# $! of `asSwayUser ... &` is the command itself.
swayUser=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
    swayUser=tavock-test
    id "$swayUser" >/dev/null 2>&1 ||
        useradd --system --no-create-home --shell /usr/sbin/nologin "$swayUser"
fi

asSwayUser() {
    exec setpriv --reuid="$swayUser" --regid="$(id -g "$swayUser")" --clear-groups \
        env -i PATH="$PATH" HOME="$swayRuntime" XDG_RUNTIME_DIR="$swayRuntime" \
        WAYLAND_DISPLAY="${SWAY_SOCKET:-}" "$@"
}

startPrivateSway() {
    swayRuntime=$1
    chown "$swayUser" "$swayRuntime"
    chmod 700 "$swayRuntime"
    printf 'xwayland disable\noutput HEADLESS-1 mode %s bg #30404c solid_color\n' "$2" \
        >"$swayRuntime/config"
    (asSwayUser WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        sway -c "$swayRuntime/config") >/dev/null 2>&1 &
    SWAY_PID=$!
    SWAY_SOCKET=""
    for _ in $(seq 100); do
        [ -S "$swayRuntime/wayland-1" ] && SWAY_SOCKET=wayland-1 && break
        sleep 0.1
    done
    [ -n "$SWAY_SOCKET" ]
}
