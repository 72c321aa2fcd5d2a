// The running clock, end to end: the real binary on a private X server,
// driven by synthetic events — clicks, close requests, alarms from a
// resource file, and the once-a-second redraw.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "image_support.h"
#include "process.h"
#include "xserver.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One clock process and our own connection to its display.
class RunningClock : public ::testing::Test {
protected:
    Display *display = nullptr;
    std::string displayName;  // the server the clock runs on
    std::string home;
    ChildProcess clock;
    Window mainWindow = 0;
    Window iconWindow = 0;

    void SetUp() override
    {
        const std::string &name = sharedXDisplay();
        ASSERT_FALSE(name.empty()) << "Xvfb did not start";
        useServer(name);
        home = makeTempDir();
    }

    // Runs the clock on another server from here on; call closeServer()
    // before that server goes.
    void useServer(const std::string &name)
    {
        closeServer();
        displayName = name;
        display = XOpenDisplay(name.c_str());
        ASSERT_NE(display, nullptr) << name;
    }

    void closeServer()
    {
        if (display)
            XCloseDisplay(display);
        display = nullptr;
    }

    void TearDown() override
    {
        if (clock.pid > 0)
            clock.wait(0);  // kills it
        closeServer();
        removeTempDir(home);
    }

    // Starts the clock and waits until it shows its first frame, that is,
    // until it has consumed the first event and entered its loop.
    void start(std::vector<std::string> options)
    {
        std::vector<std::string> args{TAVOCK_BINARY};
        args.insert(args.end(), options.begin(), options.end());
        ASSERT_TRUE(spawnProcess(clock, args, {"HOME=" + home, "DISPLAY=" + displayName}));
        const auto started = Clock::now();
        while (secondsSince(started) < 10) {
            ProcessResult early;
            ASSERT_FALSE(clock.poll(early)) << "clock ended early: " << early.out << early.err;
            if (findWindows() && showsAFrame())
                return;
            usleep(20000);
        }
        FAIL() << "no clock window with a frame within 10 s";
    }

    // The viewable top-level window of class "tavock"/"TAVOCK", and the
    // icon window its WM_HINTS name.
    bool findWindows()
    {
        mainWindow = findClassWindow(display, "tavock", "TAVOCK");
        if (!mainWindow)
            return false;
        XWMHints *hints = XGetWMHints(display, mainWindow);
        if (hints) {
            iconWindow = hints->icon_window;
            XFree(hints);
        }
        return iconWindow != 0;
    }

    std::vector<unsigned long> pixels()
    {
        XWindowAttributes attributes;
        XGetWindowAttributes(display, mainWindow, &attributes);
        return readImage(display, mainWindow, attributes.width, attributes.height).pixels;
    }

    // Before the first frame the window holds only its background.
    bool showsAFrame()
    {
        std::vector<unsigned long> p = pixels();
        for (unsigned long pixel : p)
            if (pixel != p[0])
                return true;
        return false;
    }

    void press(Window window)
    {
        XEvent event = {};
        event.xbutton.type = ButtonPress;
        event.xbutton.window = window;
        event.xbutton.root = DefaultRootWindow(display);
        event.xbutton.x = event.xbutton.y = 10;
        event.xbutton.button = Button1;
        event.xbutton.same_screen = True;
        XSendEvent(display, window, False, ButtonPressMask, &event);
        XFlush(display);
    }

    void sendProtocol(const char *atomName)
    {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = mainWindow;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, atomName, False));
        event.xclient.data.l[1] = CurrentTime;
        // No event mask: delivered to the client that created the window.
        XSendEvent(display, mainWindow, False, NoEventMask, &event);
        XFlush(display);
    }

    // Waits until the file has the wanted number of lines; returns the
    // seconds it took, or a negative value after the timeout.
    static double waitForLines(const std::string &path, size_t lines, double timeout)
    {
        const auto started = Clock::now();
        while (secondsSince(started) < timeout) {
            std::string text = readFile(path);
            size_t count = 0;
            for (char ch : text)
                count += ch == '\n';
            if (count >= lines)
                return secondsSince(started);
            usleep(2000);
        }
        return -1;
    }
};

TEST_F(RunningClock, EachPressRunsTheCommandOncePromptly)
{
    const std::string log = home + "/clicks";
    start({"-exe", "echo click >> " + log});
    for (size_t n = 1; n <= 3; n++) {
        press(mainWindow);
        double took = waitForLines(log, n, 5);
        ASSERT_GE(took, 0) << "press " << n << " ran no command";
        EXPECT_LT(took, 1.0) << "press " << n;
    }
    usleep(300000);
    EXPECT_EQ(readFile(log), "click\nclick\nclick\n");
}

TEST_F(RunningClock, TwoQueuedPressesRunTheCommandTwiceInTurn)
{
    const std::string log = home + "/clicks";
    start({"-exe", "echo start >> " + log + "; sleep 0.2; echo end >> " + log});
    press(mainWindow);
    press(mainWindow);
    ASSERT_GE(waitForLines(log, 4, 5), 0);
    usleep(300000);
    EXPECT_EQ(readFile(log), "start\nend\nstart\nend\n");
}

TEST_F(RunningClock, WithdrawnTileRunsTheDefaultCommand)
{
    start({"-withdrawn"});
    press(iconWindow);
    const auto started = Clock::now();
    while (clock.output().find("tavock: No program specified.") == std::string::npos &&
           secondsSince(started) < 5)
        usleep(5000);
    EXPECT_EQ(clock.output(), "tavock: No program specified.\n");
}

TEST_F(RunningClock, OnlyTheDeleteWindowProtocolEndsTheClock)
{
    start({});
    sendProtocol("WM_TAKE_FOCUS");
    usleep(500000);
    ProcessResult result;
    ASSERT_FALSE(clock.poll(result)) << "ended on another protocol";

    const auto sent = Clock::now();
    sendProtocol("WM_DELETE_WINDOW");
    result = clock.wait(5000);
    EXPECT_LT(secondsSince(sent), 1.0);
    EXPECT_TRUE(result.exited);
    EXPECT_EQ(result.status, 0);
}

TEST_F(RunningClock, AlarmsFromTheResourceFileRunAtTheirTimes)
{
    const std::string log = home + "/alarms";
    // Local times two and three seconds from now, and one that does not
    // come during the test.
    time_t now = time(nullptr);
    auto at = [&](time_t when, const std::string &word) {
        struct tm t;
        localtime_r(&when, &t);
        char line[300];
        snprintf(line, sizeof line, "at %02d:%02d:%02d \"echo %s $(date +%%s) >> %s\"\n",
                 t.tm_hour, t.tm_min, t.tm_sec, word.c_str(), log.c_str());
        return std::string(line);
    };
    const std::string rc = home + "/alarmrc";
    writeFile(rc, at(now + 3, "first") + at(now + 3, "second") + at(now + 4, "later") +
                      at(now + 3600, "never"));
    start({"-rc", rc});
    ASSERT_GE(waitForLines(log, 3, 8), 0) << readFile(log);
    usleep(1200000);  // nothing runs twice
    // Each command runs in its own second (a noisy machine may push the
    // shell's date into the next one, never before).
    auto within = [&](time_t second) {
        std::string a = std::to_string(second), b = std::to_string(second + 1);
        return std::vector<std::string>{a, b};
    };
    std::string text = readFile(log);
    std::vector<std::string> expected[3] = {within(now + 3), within(now + 3), within(now + 4)};
    const char *words[3] = {"first ", "second ", "later "};
    size_t position = 0;
    for (int i = 0; i < 3; i++) {
        size_t end = text.find('\n', position);
        ASSERT_NE(end, std::string::npos) << text;
        std::string line = text.substr(position, end - position);
        EXPECT_TRUE(line == words[i] + expected[i][0] || line == words[i] + expected[i][1])
            << "line " << i << ": " << line << " (due at " << expected[i][0] << ")";
        position = end + 1;
    }
    EXPECT_EQ(position, text.size()) << text;
}

// The big-screen options on the real program: the window's size, and on a
// server without RENDER one line and the plain clock, never an X error.
TEST_F(RunningClock, ScaleAndSmoothOrTheirFallbackWithoutRender)
{
    PrivateXServer noRender;
    ASSERT_TRUE(noRender.start("320x240x24", {"-extension", "RENDER"}));
    struct {
        bool render;
        std::vector<std::string> args;
        int width;
        const char *errors;
    } cases[] = {
        {true, {"-scale", "2", "-smooth", "-fh"}, 108, ""},
        {true, {"-geometry", "20x20", "-scale", "3"}, 60, ""},
        {false, {"-scale", "2", "-smooth", "-fh"}, 54,
         "tavock: the X server has no RENDER extension, drawing at 1x without smoothing\n"},
        {false, {}, 54, ""},
    };
    for (const auto &c : cases) {
        useServer(c.render ? sharedXDisplay() : noRender.display);
        start(c.args);
        XWindowAttributes a;
        XGetWindowAttributes(display, mainWindow, &a);
        EXPECT_EQ(a.width, c.width) << c.args.size();
        EXPECT_EQ(a.height, c.width) << c.args.size();
        sendProtocol("WM_DELETE_WINDOW");
        ProcessResult result = clock.wait(5000);
        EXPECT_TRUE(result.exited);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, c.errors);
    }
    closeServer();
}

TEST_F(RunningClock, RedrawsOncePerSecond)
{
    start({});
    // Sample the window for a little over three seconds: the picture must
    // change once for every second boundary crossed (the second hand moves),
    // and at no other time.
    std::vector<unsigned long> previous = pixels();
    time_t firstSecond = time(nullptr);
    int changes = 0;
    const auto started = Clock::now();
    while (secondsSince(started) < 3.3) {
        usleep(50000);
        std::vector<unsigned long> current = pixels();
        if (current != previous)
            changes++;
        previous = current;
    }
    int boundaries = static_cast<int>(time(nullptr) - firstSecond);
    EXPECT_GE(changes, boundaries - 1);
    EXPECT_LE(changes, boundaries);
    EXPECT_GE(changes, 2);
}

}  // namespace

namespace {

// The allocations the clock keeps for its whole run: alarms, the sprite
// sheets' pixels, the label font and the graphics context. Anything else
// still allocated at exit is a leak.
// _dl_init: what a library allocates for itself as it loads (pixman's
// tables, in a clock built with Wayland), before main runs.
const char *const keptForTheRun[] = {"parsercfile", "XpmCreatePixmapFromData",
                                     "XLoadQueryFont", "XCreateGC", "_dl_init"};

// The stack of every "still reachable" loss record in a valgrind log: the
// record's first line and the "at"/"by" frame lines that follow it.
std::vector<std::string> reachableRecords(const std::string &log)
{
    std::vector<std::string> records;
    size_t at = 0;
    while ((at = log.find("are still reachable in loss record", at)) != std::string::npos) {
        size_t end = log.find('\n', at);
        while (end != std::string::npos) {
            size_t next = log.find('\n', end + 1);
            std::string line = log.substr(end + 1, next == std::string::npos ? next : next - end - 1);
            if (line.find(" at 0x") == std::string::npos && line.find(" by 0x") == std::string::npos)
                break;
            end = next;
        }
        records.push_back(log.substr(at, end == std::string::npos ? end : end - at));
        at = end == std::string::npos ? log.size() : end;
    }
    return records;
}

TEST_F(RunningClock, UnderValgrindStartDrawClickCloseWithoutErrorsOrLeaks)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "valgrind cannot run an AddressSanitizer build";
#endif
    if (access("/usr/bin/valgrind", X_OK) != 0)
        GTEST_SKIP() << "valgrind is not installed";
    const std::string log = home + "/clicks", report = home + "/valgrind.log", rc = home + "/rc";
    writeFile(rc, "at 01:02:03 \"echo never\"\nexecProg \"echo click >> " + log + "\"\n");
    setenv("TAVOCK_TEST_WRAPPER",
           ("valgrind --error-exitcode=1 --leak-check=full --show-leak-kinds=all "
            "--errors-for-leak-kinds=definite,indirect,possible --log-file=" + report)
               .c_str(),
           1);
    start({"-rc", rc, "-label", "x", "-fn", "fixed", "-fh", "-at"});
    unsetenv("TAVOCK_TEST_WRAPPER");
    usleep(2500000);  // a few frames
    press(mainWindow);
    ASSERT_GE(waitForLines(log, 1, 20), 0) << "the click ran no command";
    sendProtocol("WM_DELETE_WINDOW");
    ProcessResult result = clock.wait(30000);
    ASSERT_TRUE(result.exited) << result.err;
    const std::string text = readFile(report);
    EXPECT_EQ(result.status, 0) << text;
    ASSERT_NE(text.find("Memcheck"), std::string::npos) << "not run under valgrind";
    EXPECT_NE(text.find("ERROR SUMMARY: 0 errors"), std::string::npos) << text;
    EXPECT_NE(text.find("definitely lost: 0 bytes"), std::string::npos) << text;
    std::vector<std::string> records = reachableRecords(text);
    EXPECT_FALSE(records.empty()) << "the alarm at least is kept for the run";
    for (const std::string &record : records) {
        bool kept = false;
        for (const char *caller : keptForTheRun)
            kept = kept || record.find(caller) != std::string::npos;
        EXPECT_TRUE(kept) << "still allocated at exit:\n" << record;
    }
}

}  // namespace
