// Starts and stops a private headless sway or weston for the tests, and
// takes screenshots of it with grim.
#include "compositor.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

static const char TEST_USER[] = "tavock-test";

std::string toolPath(const std::string &name)
{
    const char *path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return "";
}

std::string missingTools(const std::vector<std::string> &names)
{
    std::string missing;
    for (const std::string &name : names)
        if (toolPath(name).empty())
            missing += (missing.empty() ? "" : ", ") + name;
    return missing.empty() ? "" : missing + " not installed (tools/install-deps installs them)";
}

// Who runs the compositor: the current user, or as root the test user,
// made on first use. Two test programs may race to make it; the loser's
// useradd fails, and the second look finds the winner's.
static bool compositorUser(uid_t *uid, gid_t *gid)
{
    if (geteuid() != 0) {
        *uid = geteuid();
        *gid = getegid();
        return true;
    }
    for (int attempt = 0; attempt < 2; attempt++) {
        if (const passwd *user = getpwnam(TEST_USER)) {
            *uid = user->pw_uid;
            *gid = user->pw_gid;
            return true;
        }
        if (attempt == 0)
            runProcess({toolPath("useradd").empty() ? "/usr/sbin/useradd" : toolPath("useradd"),
                        "--system", "--user-group", "--no-create-home", "--home-dir",
                        "/nonexistent", "--shell", "/usr/sbin/nologin", TEST_USER});
    }
    return false;
}

// The first entry of the folder whose name starts with prefix and ends
// with suffix, lock files left out ("" when there is none).
static std::string findEntry(const std::string &dir, const std::string &prefix,
                             const std::string &suffix)
{
    std::string found;
    if (DIR *d = opendir(dir.c_str())) {
        while (const dirent *entry = readdir(d)) {
            std::string name = entry->d_name;
            bool lock = name.size() > 5 && name.compare(name.size() - 5, 5, ".lock") == 0;
            if (!lock && name.size() > prefix.size() + suffix.size() && name.rfind(prefix, 0) == 0 &&
                name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
                found = name;
                break;
            }
        }
        closedir(d);
    }
    return found;
}

// A fresh runtime folder, private to the user the compositor runs as.
bool PrivateCompositor::makeRuntimeDir()
{
    if (!compositorUser(&user, &group))
        return false;
    runtimeDir = makeTempDir();
    chmod(runtimeDir.c_str(), 0700);
    return geteuid() != 0 || chown(runtimeDir.c_str(), user, group) == 0;
}

bool PrivateCompositor::launch(const std::vector<std::string> &argv,
                               const std::vector<std::string> &env)
{
    if (argv[0].empty() || (runtimeDir.empty() && !makeRuntimeDir()))
        return false;
    std::vector<std::string> environment = {"PATH=/usr/local/bin:/usr/bin:/bin",
                                            "XDG_RUNTIME_DIR=" + runtimeDir,
                                            "HOME=" + runtimeDir};
    // A later setting of a name replaces the earlier one.
    for (const std::string &setting : env) {
        std::string name = setting.substr(0, setting.find('=') + 1);
        environment.erase(std::remove_if(environment.begin(), environment.end(),
                                         [&](const std::string &e) { return e.rfind(name, 0) == 0; }),
                          environment.end());
        environment.push_back(setting);
    }
    std::string logPath = runtimeDir + "/log";
    pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(group) != 0 || setuid(user) != 0))
            _exit(126);
        if (chdir(runtimeDir.c_str()) != 0)
            _exit(126);
        int devnull = open("/dev/null", O_RDONLY);
        int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(devnull, 0);
        dup2(log, 1);
        dup2(log, 2);
        std::vector<char *> args, envp;
        for (const std::string &a : argv)
            args.push_back(const_cast<char *>(a.c_str()));
        args.push_back(nullptr);
        for (const std::string &e : environment)
            envp.push_back(const_cast<char *>(e.c_str()));
        envp.push_back(nullptr);
        execve(args[0], args.data(), envp.data());
        _exit(127);
    }
    return true;
}

// Waits up to twenty seconds (a loaded machine starts sway slowly) for
// ready to say yes; false at once when the compositor died.
template <typename Ready> static bool waitFor(pid_t pid, Ready ready)
{
    for (int i = 0; i < 2000; i++) {
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return false;
        if (ready())
            return true;
        usleep(10000);
    }
    return false;
}

bool PrivateCompositor::startSway(const std::string &config, const EnvChanges &env)
{
    if (!makeRuntimeDir())
        return false;
    std::string configPath = runtimeDir + "/config";
    writeFile(configPath, "xwayland disable\n" + config + "\n");
    if (geteuid() == 0 && chown(configPath.c_str(), user, group) != 0)
        return false;
    EnvChanges swayEnv = {"WLR_BACKENDS=headless", "WLR_RENDERER=pixman",
                          "WLR_LIBINPUT_NO_DEVICES=1"};
    swayEnv.insert(swayEnv.end(), env.begin(), env.end());
    if (!launch({toolPath("sway"), "--config", configPath}, swayEnv))
        return false;
    // The IPC socket comes before the outputs; an answer to get_outputs
    // comes from the running event loop, after them.
    return waitFor(pid, [&] {
        socket = findEntry(runtimeDir, "wayland-", "");
        swaySocket = findEntry(runtimeDir, "sway-ipc.", ".sock");
        return !swaySocket.empty() && !socket.empty() && swaymsg({"-t", "get_outputs"});
    });
}

bool PrivateCompositor::startWeston()
{
    std::string weston = toolPath("weston");
    socket = "wayland-tavock";
    if (!launch({weston, "--backend=headless-backend.so", "--socket=" + socket, "--idle-time=0"},
                {}))
        return false;
    std::string path = runtimeDir + "/" + socket;
    return waitFor(pid, [&] { return access(path.c_str(), F_OK) == 0; });
}

void PrivateCompositor::stop()
{
    if (pid > 0) {
        stopServerProcess(pid, 2000, 3000);
        pid = -1;
    }
    if (!runtimeDir.empty())
        removeTempDir(runtimeDir);
    runtimeDir.clear();
}

bool PrivateCompositor::startNestedSway(const PrivateCompositor &host, int outputs)
{
    return startSway("", {"WLR_BACKENDS=wayland", "WLR_WL_OUTPUTS=" + std::to_string(outputs),
                          "WAYLAND_DISPLAY=" + host.runtimeDir + "/" + host.socket});
}

EnvChanges PrivateCompositor::clientEnv() const
{
    EnvChanges env = {"XDG_RUNTIME_DIR=" + runtimeDir, "WAYLAND_DISPLAY=" + socket, "DISPLAY"};
    if (!swaySocket.empty())
        env.push_back("SWAYSOCK=" + runtimeDir + "/" + swaySocket);
    return env;
}

bool PrivateCompositor::swaymsg(const std::vector<std::string> &args) const
{
    std::vector<std::string> command = {toolPath("swaymsg")};
    command.insert(command.end(), args.begin(), args.end());
    ProcessResult r = runProcess(command, clientEnv(), 10000);
    return r.exited && r.status == 0;
}

// grim writes "P6\nW H\n255\n" and the rows of red, green, blue bytes.
static bool readPpm(const std::string &data, Image &picture)
{
    std::istringstream in(data);
    std::string magic;
    int maxValue = 0;
    in >> magic >> picture.width >> picture.height >> maxValue;
    if (magic != "P6" || maxValue != 255 || picture.width <= 0 || picture.height <= 0)
        return false;
    in.get();
    size_t count = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
    size_t start = static_cast<size_t>(in.tellg());
    if (data.size() < start + count * 3)
        return false;
    picture.pixels.resize(count);
    const unsigned char *rgb = reinterpret_cast<const unsigned char *>(data.data()) + start;
    for (size_t i = 0; i < count; i++)
        picture.pixels[i] = static_cast<unsigned long>(rgb[3 * i]) << 16 | rgb[3 * i + 1] << 8 |
                            rgb[3 * i + 2];
    return true;
}

bool PrivateCompositor::screenshot(Image &picture, const std::string &output) const
{
    TempDir dir;
    std::string file = dir.path + "/screen.ppm";
    std::vector<std::string> grim = {toolPath("grim"), "-t", "ppm", file};
    if (!output.empty())
        grim.insert(grim.begin() + 1, {"-o", output});
    ProcessResult r = runProcess(grim, clientEnv(), 10000);
    return r.exited && r.status == 0 && readPpm(readFile(file), picture);
}

std::string PrivateCompositor::log() const
{
    return runtimeDir.empty() ? "" : readFile(runtimeDir + "/log");
}
