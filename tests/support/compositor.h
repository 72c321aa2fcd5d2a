// A private headless Wayland compositor for tests, as xserver.h is for X:
// sway (which has the layer shell) or weston (which has none), each in a
// runtime folder of its own, killed again when the test is done.
//
// sway refuses to run as root, so as root the compositor runs as the user
// "tavock-test" (made once, a system user without a home), whose runtime
// folder (XDG_RUNTIME_DIR, 0700) is a fresh temporary one; otherwise it
// runs as the current user. Clients run as the test's own user: root may
// connect to another user's socket, and anyone to their own.
#pragma once

#include "image_support.h"
#include "process.h"

#include <string>
#include <sys/types.h>
#include <vector>

struct PrivateCompositor {
    pid_t pid = -1;
    std::string runtimeDir;  // its XDG_RUNTIME_DIR
    std::string socket;      // its WAYLAND_DISPLAY, a name in runtimeDir
    std::string swaySocket;  // sway's IPC socket (SWAYSOCK); empty for weston

    // sway on the headless backend with the pixman renderer, no input
    // devices and no Xwayland; config holds more lines of its configuration
    // (such as "output HEADLESS-1 mode 320x240 scale 2"), env more settings
    // of its environment. True once it answers on its IPC socket.
    bool startSway(const std::string &config, const EnvChanges &env = {});
    // sway as a client of host: its outputs (WL-1, WL-2, ...) are windows
    // there (app_id "wlroots", titled "wlroots - WL-1"), which host can
    // close. sway 1.7 cannot turn off or unplug a headless output, so this
    // is how a test takes a tile's output away.
    bool startNestedSway(const PrivateCompositor &host, int outputs = 1);
    // weston on its headless backend; true once its socket is there.
    bool startWeston();
    void stop();
    ~PrivateCompositor() { stop(); }

    // The environment of a client of this compositor (X's DISPLAY unset).
    EnvChanges clientEnv() const;
    // swaymsg with the given arguments; true on exit status 0.
    bool swaymsg(const std::vector<std::string> &args) const;
    // The whole layout through grim, at the largest output scale, or the
    // output of that name alone.
    bool screenshot(Image &picture, const std::string &output = "") const;
    // What the compositor wrote to its stdout and stderr so far.
    std::string log() const;

private:
    uid_t user = 0;    // who runs the compositor
    gid_t group = 0;   // and their group
    bool makeRuntimeDir();
    bool launch(const std::vector<std::string> &argv, const std::vector<std::string> &env);
};

// The tools among names that are not on PATH, as a reason to skip
// ("sway, grim not installed"); empty when all are there.
std::string missingTools(const std::vector<std::string> &names);
// A program's path on PATH, or "" when it is not there.
std::string toolPath(const std::string &name);
