// The clock itself on real compositors, run as a user runs it: where its
// tile lands on a headless sway, its pixels against the X clock's on Xvfb at
// fixed times (faketime holds both on one second), the output's scale, a
// click, the compositor closing the tile, the choice between X and Wayland,
// and the lines of a display without layer shell (weston) or without a
// compositor at all.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "clock/state.h"
#include "display/setup.h"
#include "canvas/canvas.h"
#include "render/geometry.h"
#include "render/layers.h"
#include "render/layout.h"
#include "wayland/tile.h"
#include "settings/settings.h"
#include "clock_support.h"
#include "compositor.h"
#include "image_support.h"
#include "process.h"
#include "settings_support.h"
#include "styles.h"
#include "xserver.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

// The band around the hands sets a canvas up for every case and keeps it:
// leaks are expected.
extern "C" const char *__asan_default_options()
{
    return "detect_leaks=0";
}

namespace {

// The programs a test needs, or the reason to skip.
#define SKIP_WITHOUT(...)                                                 \
    do {                                                                  \
        std::string missing = missingTools({__VA_ARGS__});                \
        if (!missing.empty())                                             \
            GTEST_SKIP() << missing;                                      \
    } while (0)

struct Box {
    int x = 0, y = 0, width = 0, height = 0;
};

// The smallest box around the pixels that are not the empty desktop's (the
// colour at the centre of the layout, where no tile of these tests goes).
Box tileBox(const Image &picture)
{
    const unsigned int desktop = picture.at(picture.width / 2, picture.height / 2);
    int left = picture.width, top = picture.height, right = -1, bottom = -1;
    for (int y = 0; y < picture.height; y++)
        for (int x = 0; x < picture.width; x++)
            if (picture.at(x, y) != desktop) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < 0 ? Box{} : Box{left, top, right - left + 1, bottom - top + 1};
}

// Whether the child's stderr says text within ten seconds (WAYLAND_DEBUG
// lines: a request is logged as it is queued, and goes out before the
// clock sleeps).
bool waitForText(ChildProcess &child, const std::string &text)
{
    ProcessResult ended;
    for (int i = 0; i < 1000; i++) {
        if (child.errors().find(text) != std::string::npos)
            return true;
        if (child.poll(ended))
            return false;
        usleep(10000);
    }
    return false;
}

// The headless sway most tests share, started on first use (each test sets
// the output's scale it needs); null when it did not start.
PrivateCompositor *sharedSway()
{
    static PrivateCompositor sway;
    static bool started = sway.startSway("output HEADLESS-1 mode 640x480 scale 1");
    return started ? &sway : nullptr;
}

// The clock's window on the shared Xvfb, 0 while there is none.
Window xClockWindow()
{
    return findClassWindow(sharedXConnection(), "tavock", "TAVOCK");
}

class WaylandTile : public ::testing::Test {
protected:
    PrivateCompositor *sway = nullptr;  // where tiles go
    TempDir home;                       // without a resource file
    std::deque<ChildProcess> clocks;    // all this test started

    // Every clock is ended as endClock ends it, whatever the test did.
    void TearDown() override
    {
        for (ChildProcess &clock : clocks)
            endClock(clock);
    }

    // The shared sway with its output at the given scale.
    void useSharedSway(int scale)
    {
        sway = sharedSway();
        ASSERT_NE(sway, nullptr) << "sway did not start";
        ASSERT_TRUE(sway->swaymsg({"output", "HEADLESS-1", "scale", std::to_string(scale)}));
    }

    // The clock with options on `on`'s display, its zone UTC, its clock
    // held on the second given (none: the real one) by faketime.
    ChildProcess &startClock(const PrivateCompositor &on, const std::vector<std::string> &options,
                             const char *time = nullptr, const EnvChanges &extra = {})
    {
        std::vector<std::string> args;
        if (time)
            args = {toolPath("faketime"), "-f", time};
        args.push_back(TAVOCK_BINARY);
        args.insert(args.end(), options.begin(), options.end());
        EnvChanges env = on.clientEnv();
        // libfaketime is preloaded: the sanitizer's run-time, which wants to
        // come first among the libraries, is told to accept that.
        const char *asan = std::getenv("ASAN_OPTIONS");
        env.insert(env.end(), {"TZ=UTC", "HOME=" + home.path,
                               std::string("ASAN_OPTIONS=") + (asan ? asan : "") +
                                   ":verify_asan_link_order=0"});
        env.insert(env.end(), extra.begin(), extra.end());
        clocks.emplace_back();
        EXPECT_TRUE(spawnProcess(clocks.back(), args, env));
        return clocks.back();
    }

    // Kills a clock. Under faketime the clock is faketime's child, and
    // faketime removes its shared clock from /dev/shm only once that child
    // has gone: the child is killed, and faketime left to end.
    void endClock(ChildProcess &clock)
    {
        bool underFaketime = false;
        if (clock.pid > 0) {
            std::string self = std::to_string(clock.pid);
            std::istringstream children(readFile("/proc/" + self + "/task/" + self + "/children"));
            for (pid_t child; children >> child; underFaketime = true)
                kill(child, SIGKILL);
        }
        clock.wait(underFaketime ? 5000 : 0);
    }

    // The screen once a tile of width x height pixels (0 x 0: any size) is
    // on it: the box around it, empty after ten seconds without.
    Box waitForTile(const PrivateCompositor &on, Image &picture, int width = 0,
                    int height = 0)
    {
        for (int attempt = 0; attempt < 200; attempt++) {
            Box box;
            if (on.screenshot(picture))
                box = tileBox(picture);
            if (box.width > 0 && (width == 0 || (box.width == width && box.height == height)))
                return box;
            usleep(50000);
        }
        ADD_FAILURE() << "no tile of " << width << "x" << height << " on the screen";
        return Box{};
    }

    // Ends the clock and waits until its tile has left the screen, so that
    // the next clock's is not taken for it.
    void stopTile(ChildProcess &clock)
    {
        endClock(clock);
        Image picture;
        for (int attempt = 0; attempt < 200; attempt++)
            if (sway->screenshot(picture) && tileBox(picture).width == 0)
                return;
            else
                usleep(50000);
        ADD_FAILURE() << "the tile stayed on the screen";
    }

    // The clock's first frame on the shared Xvfb: its window holds only its
    // background colour until the whole frame is copied in.
    Image waitForXFrame(ChildProcess &clock)
    {
        for (int attempt = 0; attempt < 500; attempt++) {
            ProcessResult early;
            if (clock.poll(early)) {
                ADD_FAILURE() << "the X clock ended: " << early.err;
                return Image{};
            }
            if (Window w = xClockWindow()) {
                XWindowAttributes a;
                XGetWindowAttributes(sharedXConnection(), w, &a);
                Image frame = readImage(sharedXConnection(), w, a.width, a.height);
                if (!frame.pixels.empty() &&
                    std::count(frame.pixels.begin(), frame.pixels.end(), frame.pixels[0]) <
                        static_cast<long>(frame.pixels.size()))
                    return frame;
            }
            usleep(20000);
        }
        ADD_FAILURE() << "no X clock window with a frame";
        return Image{};
    }

    void stopXClock(ChildProcess &clock)
    {
        endClock(clock);
        for (int attempt = 0; attempt < 500 && xClockWindow(); attempt++)
            usleep(10000);
    }
};

// ---- Where the tile lands ----

struct PlaceCase {
    const char *name;
    const char *geometry;
    int x, y;  // where the 54x54 tile lands on the 640x480 layout
};

void PrintTo(const PlaceCase &c, std::ostream *out)
{
    *out << c.name;
}

class WaylandTilePlacement : public WaylandTile,
                             public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(WaylandTilePlacement, LandsAtTheCornerAndMargins)
{
    SKIP_WITHOUT("sway", "swaymsg", "grim");
    const PlaceCase &c = GetParam();
    useSharedSway(1);
    std::vector<std::string> options = {"-wayland"};
    if (*c.geometry)
        options.insert(options.end(), {"-geometry", c.geometry});
    ChildProcess &clock = startClock(*sway, options);
    Image picture;
    Box box = waitForTile(*sway, picture);
    EXPECT_EQ(box.x, c.x);
    EXPECT_EQ(box.y, c.y);
    EXPECT_EQ(box.width, 54);
    EXPECT_EQ(box.height, 54);
    stopTile(clock);
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, WaylandTilePlacement,
    ::testing::Values(PlaceCase{"TopLeft", "+10+20", 10, 20},
                      PlaceCase{"TopRight", "-10+20", 640 - 10 - 54, 20},
                      PlaceCase{"BottomRight", "-10-20", 640 - 10 - 54, 480 - 20 - 54},
                      PlaceCase{"NoPosition", "", 640 - 54, 0}),
    RowName());

// ---- The tile's pixels and the X frame's ----

// The plain hands of the clock the options set up, at reading on its 1x
// dial, worked out in this process by the tile's own set-up before it
// connects. False when the options give no canvas.
bool plainHandsAt(const std::vector<std::string> &options, time_t reading, HandGeometry &hands)
{
    settingsFromCommandLine(options);
    deriveHandLayers();
    if (!setupTileFrame(tavockLabelText))
        return false;
    setHandShape();
    setenv("TZ", "UTC", 1);
    tzset();
    const struct tm *shown = updateShownTime(reading, settings.shift);
    if (!shown)
        return false;
    computeHandGeometry(*shown, handDial(1), hands);
    return true;
}

class WaylandTilePixels : public WaylandTile, public ::testing::WithParamInterface<FrameStyle> {};

// The tile at the default place, the top right corner, against the X
// clock's window at the same second, magnified as far as the tile is.
TEST_P(WaylandTilePixels, EqualTheXFrameButAtPlainHandEdges)
{
    SKIP_WITHOUT("sway", "swaymsg", "grim", "faketime");
    const FrameStyle &c = GetParam();
    ASSERT_NE(sharedXConnection(), nullptr) << "Xvfb did not start";
    useSharedSway(c.outputScale);
    const int n = c.scale * c.outputScale;
    std::vector<std::string> tileOptions = c.options, xOptions = c.options;
    tileOptions.insert(tileOptions.end(), {"-wayland", "-scale", std::to_string(c.scale)});
    xOptions.insert(xOptions.end(), {"-scale", std::to_string(n)});
    for (const FixedTime &time : frameTimes) {
        SCOPED_TRACE(time.text);
        ChildProcess &xClock =
            startClock(*sway, xOptions, time.text, {"DISPLAY=" + sharedXDisplay()});
        ChildProcess &tile = startClock(*sway, tileOptions, time.text);
        Image frame = waitForXFrame(xClock);
        stopXClock(xClock);
        Image picture;
        Box box = waitForTile(*sway, picture, frame.width, frame.height);
        stopTile(tile);
        ASSERT_GT(box.width, 0);
        ASSERT_EQ(box.x, picture.width - box.width);
        ASSERT_EQ(box.y, 0);

        HandGeometry hands;
        ASSERT_TRUE(plainHandsAt(tileOptions, time.reading, hands));
        FrameDifference d = compareFrames(picture, box.x, 0, frame, hands, n);
        RecordProperty(std::string("differing at ") + time.text, d.differing);
        RecordProperty(std::string("outside the band at ") + time.text, d.outside);
        EXPECT_EQ(d.outside, 0) << d.differing << " differ, the first outside the band at "
                                << d.first;
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, WaylandTilePixels, ::testing::ValuesIn(frameStyles(ON_SWAY)),
                         RowName());

// ---- The output's scale ----

// The output's scale goes from 1 to 2 under a clock without a second hand,
// which wakes about once a minute: the tile is drawn again at once, twice
// the size with twice the margins, the 1x tile magnified pixel for pixel.
// The compositor would magnify the old buffer as well for a while: the
// clock's own request for a buffer of scale 2 tells them apart.
TEST_F(WaylandTile, OutputScaleTwoDrawsTheTileMagnified)
{
    SKIP_WITHOUT("sway", "swaymsg", "grim", "faketime");
    useSharedSway(1);
    ChildProcess &clock = startClock(*sway, {"-wayland", "-ns", "-geometry", "+10+20"},
                                     frameTimes[0].text, {"WAYLAND_DEBUG=1"});
    Image one, two;
    Box small = waitForTile(*sway, one, 54, 54);
    ASSERT_EQ(small.x, 10);
    ASSERT_EQ(small.y, 20);
    ASSERT_TRUE(sway->swaymsg({"output", "HEADLESS-1", "scale", "2"}));
    ASSERT_TRUE(waitForText(clock, "set_buffer_scale(2)"));
    int differing = -1;
    for (int attempt = 0; attempt < 50 && differing != 0; attempt++) {
        Box big = waitForTile(*sway, two, 108, 108);
        ASSERT_EQ(big.x, 20);
        ASSERT_EQ(big.y, 40);
        differing = 0;
        for (int y = 0; y < 108; y++)
            for (int x = 0; x < 108; x++)
                differing += two.at(20 + x, 40 + y) != one.at(10 + x / 2, 20 + y / 2);
        if (differing)
            usleep(20000);
    }
    EXPECT_EQ(differing, 0);
    stopTile(clock);
}

// ---- The choice of screen ----

// Without -wayland: DISPLAY unset and WAYLAND_DISPLAY set is a tile on
// sway; with both set the X display wins, and no tile appears.
TEST_F(WaylandTile, ChoiceOfScreenFollowsDisplayAndWaylandDisplay)
{
    SKIP_WITHOUT("sway", "swaymsg", "grim");
    ASSERT_NE(sharedXConnection(), nullptr) << "Xvfb did not start";
    useSharedSway(1);
    ChildProcess &onWayland = startClock(*sway, {});
    Image picture;
    EXPECT_GT(waitForTile(*sway, picture).width, 0);
    stopTile(onWayland);

    ChildProcess &onX = startClock(*sway, {}, nullptr, {"DISPLAY=" + sharedXDisplay()});
    EXPECT_GT(waitForXFrame(onX).width, 0);
    ASSERT_TRUE(sway->screenshot(picture));
    EXPECT_EQ(tileBox(picture).width, 0);
    stopXClock(onX);
}

// ---- A click ----

// Magenta, which nothing else on these screens is: the tile's background.
const unsigned long MAGENTA = 0xff00ff;

int magentaPixels(const Image &picture)
{
    return static_cast<int>(std::count(picture.pixels.begin(), picture.pixels.end(), MAGENTA));
}

// Whether the output (all of them: "") shows the tile within ten seconds.
bool tileShownOn(const PrivateCompositor &on, const std::string &output)
{
    Image picture;
    for (int attempt = 0; attempt < 200; attempt++) {
        if (on.screenshot(picture, output) && magentaPixels(picture) > 1000)
            return true;
        usleep(50000);
    }
    return false;
}

// A window of weston's event demo, which logs the buttons it gets, filling
// the output; true once sway shows it.
bool openWindow(const PrivateCompositor &on, ChildProcess &window)
{
    // Line by line: the test reads its log while it runs.
    if (!spawnProcess(window, {toolPath("stdbuf"), "-oL", toolPath("weston-eventdemo"), "--log-button"},
                      on.clientEnv()))
        return false;
    for (int attempt = 0; attempt < 200; attempt++) {
        ProcessResult tree = runProcess({toolPath("swaymsg"), "-t", "get_tree"}, on.clientEnv());
        if (tree.out.find("\"visible\": true") != std::string::npos &&
            tree.out.find("\"app_id\"") != std::string::npos)
            return true;
        usleep(50000);
    }
    return false;
}

struct ClickCase {
    const char *name;
    bool command;  // with -exe
};

void PrintTo(const ClickCase &c, std::ostream *out)
{
    *out << c.name;
}

class WaylandTileClick : public WaylandTile, public ::testing::WithParamInterface<ClickCase> {};

// A headless sway has no pointer: the virtual one appears as the seat's,
// the clock asks for it, and only then does it move onto the tile and
// click. Under the tile is a window that logs the buttons it gets. The
// pointer and its cursor stay off the shared sway.
TEST_P(WaylandTileClick, RunsTheCommandOncePerPressOrGoesThrough)
{
    SKIP_WITHOUT("sway", "swaymsg", "grim", "weston-eventdemo");
    if (std::string(TAVOCK_VIRTUAL_POINTER).empty())
        GTEST_SKIP() << "built without wlr-virtual-pointer-unstable-v1.xml";
    const ClickCase &c = GetParam();
    PrivateCompositor own;
    ASSERT_TRUE(own.startSway("output HEADLESS-1 mode 320x240 scale 1")) << own.log();
    ChildProcess window;
    ASSERT_TRUE(openWindow(own, window)) << window.errors();
    std::string clicks = home.path + "/clicks", go = home.path + "/go";
    std::vector<std::string> options = {"-wayland", "-geometry", "+40+100"};
    if (c.command)
        options.insert(options.end(), {"-exe", "echo click >> " + clicks});
    ChildProcess &clock = startClock(own, options, nullptr, {"WAYLAND_DEBUG=1"});
    ASSERT_TRUE(waitForText(clock, ".attach(")) << clock.errors();
    ChildProcess pointer;
    ASSERT_TRUE(spawnProcess(pointer, {TAVOCK_VIRTUAL_POINTER, "60", "120", "320", "240", go},
                             own.clientEnv()));
    ASSERT_TRUE(waitForText(clock, "get_pointer(")) << pointer.errors();
    writeFile(go, "");
    ProcessResult clicked = pointer.wait(10000);
    ASSERT_TRUE(clicked.exited && clicked.status == 0) << clicked.err;
    for (int i = 0; i < 100 && readFile(clicks).empty() &&
                    window.output().find("button") == std::string::npos;
         i++)
        usleep(10000);
    usleep(200000);  // room for a second, wrong, run of the command
    EXPECT_EQ(readFile(clicks), c.command ? "click\n" : "");
    EXPECT_EQ(window.output().find("button") != std::string::npos, !c.command) << window.output();
}

INSTANTIATE_TEST_SUITE_P(Click, WaylandTileClick,
                         ::testing::Values(ClickCase{"WithACommand", true},
                                           ClickCase{"WithoutACommand", false}),
                         RowName());

// ---- The end ----

// How the tile's compositor lets go of it.
enum CloseWay {
    NO_OUTPUT,    // a sway without outputs closes a new tile before its first configure
    SWAY_KILLED,  // the compositor itself gone under a shown tile
};

struct CloseCase {
    const char *name;
    CloseWay way;
    int status;        // the clock's exit status
    const char *said;  // and all it says
};

void PrintTo(const CloseCase &c, std::ostream *out)
{
    *out << c.name;
}

class WaylandTileClosed : public WaylandTile, public ::testing::WithParamInterface<CloseCase> {};

// A sway without outputs closes a new tile; sway killed under a shown one.
TEST_P(WaylandTileClosed, ByTheCompositorEndsTheClock)
{
    SKIP_WITHOUT("sway", "swaymsg", "grim");
    const CloseCase &c = GetParam();
    PrivateCompositor own;
    if (c.way == NO_OUTPUT) {
        ASSERT_TRUE(own.startSway("", {"WLR_HEADLESS_OUTPUTS=0"})) << own.log();
    } else {
        ASSERT_TRUE(own.startSway("output HEADLESS-1 mode 320x240")) << own.log();
    }
    ChildProcess &clock = startClock(own, {"-wayland"});
    if (c.way == SWAY_KILLED) {
        Image picture;
        ASSERT_GT(waitForTile(own, picture).width, 0);
        own.stop();
    }
    ProcessResult r = clock.wait(10000);
    EXPECT_TRUE(r.exited) << "signal " << r.signal << (r.timedOut ? ", still running" : "");
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out + r.err, c.said);
}

INSTANTIATE_TEST_SUITE_P(
    Compositor, WaylandTileClosed,
    ::testing::Values(
        CloseCase{"BeforeItsFirstConfigure", NO_OUTPUT, 0, ""},
        CloseCase{"CompositorGone", SWAY_KILLED, 1,
                  "tavock: lost the connection to the Wayland display\n"}),
    RowName());

// ---- Where the tile goes: layer and output ----

struct LayerCase {
    const char *name;
    const char *layer;
    bool overWindows;  // the tile is seen over the window
    const char *said;  // all the clock says
};

void PrintTo(const LayerCase &c, std::ostream *out)
{
    *out << c.name;
}

class WaylandTileLayer : public WaylandTile, public ::testing::WithParamInterface<LayerCase> {};

// The tile beside a window that fills the output: over it on the top and
// overlay layers, under it on the bottom and background ones.
TEST_P(WaylandTileLayer, StandsOverOrUnderTheWindows)
{
    SKIP_WITHOUT("sway", "swaymsg", "grim", "weston-eventdemo");
    const LayerCase &c = GetParam();
    PrivateCompositor own;
    ASSERT_TRUE(own.startSway("output HEADLESS-1 mode 320x240")) << own.log();
    ChildProcess window;
    ASSERT_TRUE(openWindow(own, window)) << window.errors();
    ChildProcess &clock = startClock(own, {"-wayland", "-layer", c.layer, "-bg", "#ff00ff",
                                           "-geometry", "+40+100"},
                                     nullptr, {"WAYLAND_DEBUG=1"});
    ASSERT_TRUE(waitForText(clock, ".attach(")) << clock.errors();
    usleep(300000);
    if (c.overWindows) {
        EXPECT_TRUE(tileShownOn(own, ""));
    } else {
        Image picture;
        ASSERT_TRUE(own.screenshot(picture));
        EXPECT_EQ(magentaPixels(picture), 0);
    }
    std::string said, line;
    std::istringstream lines(clock.errors());
    while (std::getline(lines, line))
        if (line.rfind("tavock:", 0) == 0)
            said += line + "\n";
    EXPECT_EQ(said, c.said);
}

INSTANTIATE_TEST_SUITE_P(
    Layers, WaylandTileLayer,
    ::testing::Values(
        LayerCase{"Top", "top", true, ""}, LayerCase{"Overlay", "overlay", true, ""},
        LayerCase{"Bottom", "bottom", false, ""},
        LayerCase{"Background", "background", false, ""},
        LayerCase{"UnknownIsTop", "middle", true,
                  "tavock: the Wayland layer is background, bottom, top or overlay, not middle: "
                  "drawing on top\n"}),
    RowName());

// On the output named, not the other; an output not there yet is waited
// for, and gets the tile once it is plugged in.
TEST_F(WaylandTile, GoesToTheOutputNamedOnceItIsThere)
{
    SKIP_WITHOUT("sway", "swaymsg", "grim");
    PrivateCompositor own;
    ASSERT_TRUE(own.startSway("", {"WLR_HEADLESS_OUTPUTS=2"})) << own.log();
    ChildProcess &second = startClock(own, {"-wayland", "-output", "HEADLESS-2", "-bg", "#ff00ff"});
    EXPECT_TRUE(tileShownOn(own, "HEADLESS-2"));
    Image first;
    ASSERT_TRUE(own.screenshot(first, "HEADLESS-1"));
    EXPECT_EQ(magentaPixels(first), 0);
    endClock(second);

    ChildProcess &third = startClock(own, {"-wayland", "-output", "HEADLESS-3", "-bg", "#ff00ff"});
    ASSERT_TRUE(waitForText(third, "waiting for it"));
    EXPECT_EQ(third.errors(), "tavock: no Wayland output is named HEADLESS-3 (there are "
                              "HEADLESS-1, HEADLESS-2), waiting for it\n");
    usleep(500000);
    ASSERT_TRUE(own.screenshot(first));
    EXPECT_EQ(magentaPixels(first), 0);
    ASSERT_TRUE(own.swaymsg({"create_output"}));
    EXPECT_TRUE(tileShownOn(own, "HEADLESS-3"));
    ProcessResult ended;
    EXPECT_FALSE(third.poll(ended)) << ended.err;
}

struct OutputLossCase {
    const char *name;
    int outputs;  // of the nested sway, whose outputs are windows of the outer one
};

void PrintTo(const OutputLossCase &c, std::ostream *out)
{
    *out << c.name;
}

class WaylandTileOutputLoss : public WaylandTile,
                              public ::testing::WithParamInterface<OutputLossCase> {};

// The window that is the tile's output is closed: the clock keeps running,
// and the tile comes back on the output the compositor chooses, the other
// one, or the next one plugged in.
TEST_P(WaylandTileOutputLoss, BringsTheTileBackOnAnotherOutput)
{
    SKIP_WITHOUT("sway", "swaymsg", "grim");
    const OutputLossCase &c = GetParam();
    PrivateCompositor host, own;
    ASSERT_TRUE(host.startSway("output HEADLESS-1 mode 640x480")) << host.log();
    ASSERT_TRUE(own.startNestedSway(host, c.outputs)) << own.log();
    ChildProcess &clock = startClock(own, {"-wayland", "-bg", "#ff00ff"});
    ASSERT_TRUE(tileShownOn(own, ""));
    std::string on, other;
    for (int k = 1; k <= c.outputs; k++) {
        Image picture;
        std::string name = "WL-" + std::to_string(k);
        ASSERT_TRUE(own.screenshot(picture, name));
        (magentaPixels(picture) > 0 ? on : other) = name;
    }
    ASSERT_FALSE(on.empty());
    ASSERT_TRUE(host.swaymsg({"[title=\"wlroots - " + on + "\"] kill"}));
    usleep(500000);
    ProcessResult ended;
    ASSERT_FALSE(clock.poll(ended)) << ended.err;
    if (other.empty()) {
        ASSERT_TRUE(own.swaymsg({"create_output"}));
        other = "WL-" + std::to_string(c.outputs + 1);
    }
    EXPECT_TRUE(tileShownOn(own, other));
    EXPECT_FALSE(clock.poll(ended)) << ended.err;
    EXPECT_EQ(clock.errors(), "");
}

INSTANTIATE_TEST_SUITE_P(Outputs, WaylandTileOutputLoss,
                         ::testing::Values(OutputLossCase{"TheOtherOutput", 2},
                                           OutputLossCase{"ANewOutput", 1}),
                         RowName());

// ---- Buffers ----

struct BufferCase {
    const char *name;
    std::vector<std::string> options;
    std::vector<int> outputScales;  // the output's scale, one after another
    int buffers;                    // wl_buffers the clock makes in all
    const char *said;               // a line it says, or ""
};

void PrintTo(const BufferCase &c, std::ostream *out)
{
    *out << c.name;
}

class WaylandTileBuffers : public WaylandTile,
                           public ::testing::WithParamInterface<BufferCase> {};

// Two buffers per buffer size, reused frame after frame: a clock with a
// second hand draws a frame a second, three at each scale.
TEST_P(WaylandTileBuffers, AreMadeOncePerScaleAndFitTheScale)
{
    SKIP_WITHOUT("sway", "swaymsg", "grim");
    const BufferCase &c = GetParam();
    useSharedSway(c.outputScales[0]);
    std::vector<std::string> options = {"-wayland"};
    options.insert(options.end(), c.options.begin(), c.options.end());
    ChildProcess &clock = startClock(*sway, options, nullptr, {"WAYLAND_DEBUG=1"});
    ASSERT_TRUE(waitForText(clock, "wl_surface@")) << clock.errors();
    // Each scale is left for the third frame drawn at it.
    auto count = [](const std::string &text, const char *what) {
        int n = 0;
        for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at++)
            n++;
        return n;
    };
    for (int scale : c.outputScales) {
        ASSERT_TRUE(sway->swaymsg({"output", "HEADLESS-1", "scale", std::to_string(scale)}));
        const size_t before = clock.errors().size();
        for (int i = 0; i < 1000 && count(clock.errors().substr(before), ".attach(") < 3; i++)
            usleep(10000);
        ASSERT_GE(count(clock.errors().substr(before), ".attach("), 3) << "too few frames";
    }
    const std::string log = clock.errors();
    EXPECT_EQ(count(log, ".create_buffer("), c.buffers);
    if (*c.said) {
        EXPECT_NE(log.find(c.said), std::string::npos) << log.substr(0, 2000);
    }
    ProcessResult ended;
    EXPECT_FALSE(clock.poll(ended)) << ended.err;
    stopTile(clock);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, WaylandTileBuffers,
    ::testing::Values(
        BufferCase{"OutputScaleTwoThenOne", {}, {2, 1}, 4, ""},
        BufferCase{"TooLargeAtOutputScaleTwo", {"-geometry", "20000x54"}, {2}, 2,
                   "tavock: a 20000x54 clock at scale 2 would be larger than 32767 pixels, "
                   "drawing at scale 1\n"}),
    RowName());

// ---- No tile at all ----

struct RefusalCase {
    const char *name;
    bool weston;  // on weston's headless backend, else on no compositor
    const char *line;
};

void PrintTo(const RefusalCase &c, std::ostream *out)
{
    *out << c.name;
}

class WaylandTileRefused : public WaylandTile,
                           public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(WaylandTileRefused, PrintsItsLineAndExitsWithStatusOne)
{
    const RefusalCase &c = GetParam();
    PrivateCompositor weston;
    TempDir runtime;
    EnvChanges env = {"XDG_RUNTIME_DIR=" + runtime.path, "WAYLAND_DISPLAY=wayland-nobody",
                      "DISPLAY", "HOME=" + home.path};
    if (c.weston) {
        SKIP_WITHOUT("weston");
        ASSERT_TRUE(weston.startWeston()) << weston.log();
        env = weston.clientEnv();
        env.push_back("HOME=" + home.path);
    }
    ProcessResult r = runProcess({TAVOCK_BINARY, "-wayland"}, env, 20000);
    ASSERT_TRUE(r.exited) << "signal " << r.signal;
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, std::string(c.line) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Display, WaylandTileRefused,
    ::testing::Values(
        RefusalCase{"NoLayerShell", true,
                    "tavock: the Wayland compositor has no layer shell (zwlr_layer_shell_v1)"},
        RefusalCase{"NoCompositor", false, "tavock: cannot connect to the Wayland display"}),
    RowName());

} // namespace
