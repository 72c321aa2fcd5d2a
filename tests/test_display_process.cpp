// The real program on a private Xvfb: colour and font failures are reported
// on standard output and the clock still starts.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "process.h"
#include "xserver.h"

#include <X11/Xlib.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// True once a window titled "tavock" is among the root's children.
bool clockWindowExists(Display *display)
{
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned int i = 0; i < count && !found; i++) {
        char *name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            found = std::string(name) == "tavock";
            XFree(name);
        }
    }
    if (children)
        XFree(children);
    return found;
}

struct ClockRun {
    bool started = false;   // the window appeared
    ProcessResult result;
};

// Each run gets its own Xvfb, so windows of earlier runs cannot be mistaken
// for this one's.
ClockRun runClock(const std::vector<std::string> &options)
{
    ClockRun run;
    PrivateXServer server;
    if (!server.start())
        return run;
    TempDir homeDir;
    const std::string &home = homeDir.path;
    std::vector<std::string> args = {TAVOCK_BINARY};
    args.insert(args.end(), options.begin(), options.end());
    ChildProcess child;
    if (!spawnProcess(child, args, {"DISPLAY=" + server.display, "HOME=" + home}))
        return run;
    Display *display = XOpenDisplay(server.display.c_str());
    for (int i = 0; i < 500 && display && !run.started; i++) {
        if (child.poll(run.result))
            break;
        run.started = clockWindowExists(display);
        usleep(20000);
    }
    if (display)
        XCloseDisplay(display);
    // Still running is what a clock does; exiting 0 is accepted too.
    if (!run.result.exited)
        run.result = child.wait(300);
    return run;
}

void expectAliveOrCleanExit(const ProcessResult &r)
{
    if (r.timedOut)
        return;
    EXPECT_TRUE(r.exited) << "signal " << r.signal;
    EXPECT_EQ(r.status, 0);
}

TEST(DisplayProcess, BadColourNameIsReportedOnceAndTheClockStarts)
{
    ClockRun run = runClock({"-fg", "nosuchcolour"});
    EXPECT_TRUE(run.started);
    expectAliveOrCleanExit(run.result);
    EXPECT_EQ(run.result.out, "tavock: can't parse nosuchcolour\n");
}

TEST(DisplayProcess, UnloadableFontTurnsTheLabelOff)
{
    ClockRun run = runClock({"-label", "hello", "-fn", "-nosuch-font-*"});
    EXPECT_TRUE(run.started);
    expectAliveOrCleanExit(run.result);
    EXPECT_EQ(run.result.out, "tavock : failed to load font -nosuch-font-*\n"
                              "tavock : warning : the label will not be drawn\n");
}

TEST(DisplayProcess, UnknownSpriteColourEndsWithStatusZero)
{
    ClockRun run = runClock({"-day", "nosuchcolour"});
    EXPECT_FALSE(run.started);
    ASSERT_TRUE(run.result.exited);
    EXPECT_EQ(run.result.status, 0);
    EXPECT_NE(run.result.out.find("not enough free color cells for day_of_week.\n"),
              std::string::npos)
        << run.result.out;
}

TEST(DisplayProcess, NoDisplayExitsWithStatusOne)
{
    TempDir home;
    ProcessResult r = runProcess({TAVOCK_BINARY, "-display", ":9999"}, {"HOME=" + home.path});
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "tavock : grrrr... can't open display :9999. Sorry ...\n");
}

} // namespace
