// Starts and stops a private Xvfb for the tests.
#include "xserver.h"

#include "process.h"

#include <X11/Xlib.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

bool PrivateXServer::start(const char *screen, const std::vector<std::string> &extra)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        close(fds[0]);
        int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, 0);
        dup2(devnull, 1);
        dup2(devnull, 2);
        std::string fd = std::to_string(fds[1]);
        // The abstract "local" socket stays on: with -displayfd it is what
        // makes a second Xvfb move on to the next free display. Without it,
        // servers started in parallel all take :0 and unlink each other's
        // socket file.
        std::vector<const char *> argv = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0",
                                          screen, "-nolisten", "tcp", "-noreset"};
        for (const std::string &arg : extra)
            argv.push_back(arg.c_str());
        argv.push_back(nullptr);
        execvp("Xvfb", const_cast<char *const *>(argv.data()));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    struct pollfd p = {fds[0], POLLIN, 0};
    while (poll(&p, 1, 20000) > 0) {
        char buf[16];
        ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0)
            break;
        number.append(buf, static_cast<size_t>(n));
        if (number.find('\n') != std::string::npos)
            break;
    }
    close(fds[0]);
    while (!number.empty() && (number.back() == '\n' || number.back() == ' '))
        number.pop_back();
    if (number.empty()) {
        stop();
        return false;
    }
    display = ":" + number;
    return true;
}

void PrivateXServer::stop()
{
    if (pid > 0) {
        stopServerProcess(pid, 1500, 2000);
        pid = -1;
    }
}

std::string fontPathOption(const FontFolder *folders, int count)
{
    std::string path;
    for (int i = 0; i < count; i++)
        path += (i ? "," : "") + std::string(folders[i].path) + (folders[i].scaled ? "" : "/:unscaled");
    return path;
}

static PrivateXServer *shared;

static pid_t sharedOwner;

// Only the process that started the server stops it: a forked child that
// exits (a death test, say) must not take the server down with it.
static void stopShared()
{
    if (shared && getpid() == sharedOwner)
        shared->stop();
}

const std::string &sharedXDisplay()
{
    static std::string name;
    if (!shared) {
        shared = new PrivateXServer;
        sharedOwner = getpid();
        std::vector<std::string> extra;
#ifdef TAVOCK_HAVE_WAYLAND
        FontFolder folders[16];
        int count = presentFontFolders(folders, 16);
        if (count > 0)
            extra = {"-fp", fontPathOption(folders, count)};
#endif
        if (shared->start("320x240x24", extra))
            name = shared->display;
        std::atexit(stopShared);
    }
    return name;
}

Display *sharedXConnection()
{
    static Display *d = sharedXDisplay().empty() ? nullptr : XOpenDisplay(sharedXDisplay().c_str());
    return d;
}
