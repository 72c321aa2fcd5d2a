// src/wayland/ against real compositors, through the one-colour tile
// driver: where the tile lands on a headless sway, the buffer at output
// scale 2, a click, the compositor closing the tile, and the two lines of
// a display without layer shell (weston) or without a compositor at all.
#include <gtest/gtest.h>

#include "compositor.h"
#include "process.h"

#include <algorithm>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const unsigned int TILE_COLOUR = 0x3366cc;

// sway and the programs every sway test uses, or the reason to skip.
#define SKIP_WITHOUT(...)                                                 \
    do {                                                                  \
        std::string missing = missingTools({__VA_ARGS__});                \
        if (!missing.empty())                                             \
            GTEST_SKIP() << missing;                                      \
    } while (0)

struct Box {
    int x = 0, y = 0, width = 0, height = 0;
};

// The smallest box around the pixels of the tile's colour; all of them
// should be the tile, and the tile all of that colour.
Box tileBox(const Screenshot &picture, int *pixelsInBox)
{
    int left = picture.width, top = picture.height, right = -1, bottom = -1, count = 0;
    for (int y = 0; y < picture.height; y++)
        for (int x = 0; x < picture.width; x++)
            if (picture.pixel(x, y) == TILE_COLOUR) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                count++;
            }
    *pixelsInBox = count;
    return right < 0 ? Box{} : Box{left, top, right - left + 1, bottom - top + 1};
}

// Whether child writes line (a whole line) within ten seconds.
bool waitForOutput(ChildProcess &child, const std::string &line)
{
    ProcessResult ended;
    for (int i = 0; i < 1000; i++) {
        if (child.output().find(line + "\n") != std::string::npos)
            return true;
        if (child.poll(ended))
            return false;
        usleep(10000);
    }
    return false;
}

// Starts the driver and waits until it writes line ("buffer WxH" after
// each frame).
bool startTile(ChildProcess &tile, const PrivateCompositor &compositor,
               const std::string &geometry, const std::string &line,
               const std::string &command = "true")
{
    if (!spawnProcess(tile, {TAVOCK_WAYLAND_TILE, geometry, "40", "30", "3366cc", command},
                      compositor.clientEnv()))
        return false;
    return waitForOutput(tile, line);
}

// The screen a moment after the frame went out; the compositor may show
// it a frame later, so a missing tile is looked for again.
Box screenedTile(const PrivateCompositor &compositor, Screenshot &picture)
{
    Box box;
    for (int attempt = 0; attempt < 20 && box.width == 0; attempt++) {
        int count = 0;
        if (compositor.screenshot(picture))
            box = tileBox(picture, &count);
        if (box.width == 0)
            usleep(100000);
        else
            EXPECT_EQ(count, box.width * box.height) << "the tile is not all its colour";
    }
    return box;
}

struct PlaceCase {
    const char *name;
    const char *geometry;
    int x, y;  // where the 40x30 tile lands on a 320x240 output
};

void PrintTo(const PlaceCase &c, std::ostream *out)
{
    *out << c.name;
}

class TilePlacementOnSway : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(TilePlacementOnSway, TileLandsAtTheCornerAndMargins)
{
    SKIP_WITHOUT("sway", "swaymsg", "grim");
    const PlaceCase &c = GetParam();
    PrivateCompositor sway;
    ASSERT_TRUE(sway.startSway("output HEADLESS-1 mode 320x240 scale 1")) << sway.log();
    ChildProcess tile;
    ASSERT_TRUE(startTile(tile, sway, c.geometry, "buffer 40x30")) << tile.errors();
    Screenshot picture;
    Box box = screenedTile(sway, picture);
    EXPECT_EQ(picture.width, 320);
    EXPECT_EQ(box.x, c.x);
    EXPECT_EQ(box.y, c.y);
    EXPECT_EQ(box.width, 40);
    EXPECT_EQ(box.height, 30);
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, TilePlacementOnSway,
    ::testing::Values(PlaceCase{"TopLeft", "40x30+10+20", 10, 20},
                      PlaceCase{"TopRight", "40x30-10+20", 320 - 10 - 40, 20},
                      PlaceCase{"BottomRight", "40x30-10-20", 320 - 10 - 40, 240 - 20 - 30},
                      PlaceCase{"NoPosition", "", 320 - 40, 0}),
    [](const ::testing::TestParamInfo<PlaceCase> &info) { return info.param.name; });

struct ScaleCase {
    const char *name;
    const char *startScale;  // the output's scale when the tile comes up
    bool rescale;            // then set to 2 while it runs
};

void PrintTo(const ScaleCase &c, std::ostream *out)
{
    *out << c.name;
}

class TileScaleOnSway : public ::testing::TestWithParam<ScaleCase> {};

// On a 640x480 output at scale 2 the layout is 320x240: the tile's buffer
// is twice its logical size, and so are its margins on the screen.
TEST_P(TileScaleOnSway, BufferIsTwiceTheLogicalSize)
{
    SKIP_WITHOUT("sway", "swaymsg", "grim");
    const ScaleCase &c = GetParam();
    PrivateCompositor sway;
    ASSERT_TRUE(sway.startSway(std::string("output HEADLESS-1 mode 640x480 scale ") +
                               c.startScale))
        << sway.log();
    ChildProcess tile;
    ASSERT_TRUE(startTile(tile, sway, "+10+20", c.rescale ? "buffer 40x30" : "buffer 80x60"))
        << tile.output() << tile.errors();
    if (c.rescale) {
        ASSERT_TRUE(sway.swaymsg({"output", "HEADLESS-1", "scale", "2"}));
        ASSERT_TRUE(waitForOutput(tile, "buffer 80x60")) << tile.output();
    }
    Screenshot picture;
    Box box = screenedTile(sway, picture);
    EXPECT_EQ(box.x, 20);
    EXPECT_EQ(box.y, 40);
    EXPECT_EQ(box.width, 80);
    EXPECT_EQ(box.height, 60);
}

INSTANTIATE_TEST_SUITE_P(Scale, TileScaleOnSway,
                         ::testing::Values(ScaleCase{"AtStart", "2", false},
                                           ScaleCase{"WhileRunning", "1", true}),
                         [](const ::testing::TestParamInfo<ScaleCase> &info) {
                             return info.param.name;
                         });

// A headless sway has no pointer: the virtual one appears as the seat's,
// the tile binds it, and only then does it move onto the tile and click.
TEST(TileOnSway, ClickRunsTheCommandOncePerPress)
{
    SKIP_WITHOUT("sway", "swaymsg");
    if (std::string(TAVOCK_VIRTUAL_POINTER).empty())
        GTEST_SKIP() << "built without wlr-virtual-pointer-unstable-v1.xml";
    PrivateCompositor sway;
    ASSERT_TRUE(sway.startSway("output HEADLESS-1 mode 320x240 scale 1")) << sway.log();
    TempDir dir;
    std::string clicks = dir.path + "/clicks", go = dir.path + "/go";
    ChildProcess tile;
    ASSERT_TRUE(startTile(tile, sway, "+10+20", "buffer 40x30", "echo click >> " + clicks));
    ChildProcess pointer;
    ASSERT_TRUE(spawnProcess(pointer, {TAVOCK_VIRTUAL_POINTER, "30", "35", "320", "240", go},
                             sway.clientEnv()));
    ASSERT_TRUE(waitForOutput(tile, "pointer")) << tile.output() << pointer.errors();
    writeFile(go, "");
    ProcessResult clicked = pointer.wait(10000);
    ASSERT_TRUE(clicked.exited && clicked.status == 0) << clicked.err;
    for (int i = 0; i < 500 && readFile(clicks).empty(); i++)
        usleep(10000);
    usleep(200000);  // room for a second, wrong, run of the command
    EXPECT_EQ(readFile(clicks), "click\n");
}

struct CloseCase {
    const char *name;
    bool nested;     // the tile on a sway whose output is a window of another
    const char *line; // what the tile writes before it is closed
};

void PrintTo(const CloseCase &c, std::ostream *out)
{
    *out << c.name;
}

class TileClosed : public ::testing::TestWithParam<CloseCase> {};

// sway closes the layer surfaces of an output that goes away: the outer
// sway's window that is the nested sway's output is closed under the tile.
// A sway without outputs closes a new tile before its first configure.
TEST_P(TileClosed, ByTheCompositorExitsWithStatusZero)
{
    SKIP_WITHOUT("sway", "swaymsg");
    const CloseCase &c = GetParam();
    PrivateCompositor host, sway;
    if (c.nested) {
        ASSERT_TRUE(host.startSway("output HEADLESS-1 mode 320x240")) << host.log();
        ASSERT_TRUE(sway.startNestedSway(host)) << sway.log();
    } else {
        ASSERT_TRUE(sway.startSway("", {"WLR_HEADLESS_OUTPUTS=0"})) << sway.log();
    }
    ChildProcess tile;
    ASSERT_TRUE(spawnProcess(tile, {TAVOCK_WAYLAND_TILE, "", "40", "30", "3366cc", "true"},
                             sway.clientEnv()));
    if (c.nested) {
        ASSERT_TRUE(waitForOutput(tile, c.line)) << tile.errors();
        ASSERT_TRUE(host.swaymsg({"[app_id=wlroots] kill"}));
    }
    ProcessResult r = tile.wait(10000);
    EXPECT_TRUE(r.exited) << "signal " << r.signal << (r.timedOut ? ", still running" : "");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(c.line) + (*c.line ? "\n" : ""));
}

INSTANTIATE_TEST_SUITE_P(
    Compositor, TileClosed,
    ::testing::Values(CloseCase{"WhileShown", true, "buffer 40x30"},
                      CloseCase{"BeforeItsFirstConfigure", false, ""}),
    [](const ::testing::TestParamInfo<CloseCase> &info) { return info.param.name; });

struct RefusalCase {
    const char *name;
    bool weston;  // on weston's headless backend, else on no compositor
    const char *line;
};

void PrintTo(const RefusalCase &c, std::ostream *out)
{
    *out << c.name;
}

class TileRefused : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(TileRefused, PrintsItsLineAndExitsWithStatusOne)
{
    const RefusalCase &c = GetParam();
    PrivateCompositor weston;
    TempDir runtime;
    EnvChanges env = {"XDG_RUNTIME_DIR=" + runtime.path, "WAYLAND_DISPLAY=wayland-nobody",
                      "DISPLAY"};
    if (c.weston) {
        SKIP_WITHOUT("weston");
        ASSERT_TRUE(weston.startWeston()) << weston.log();
        env = weston.clientEnv();
    }
    ProcessResult r =
        runProcess({TAVOCK_WAYLAND_TILE, "", "40", "30", "3366cc", "true"}, env, 20000);
    ASSERT_TRUE(r.exited) << "signal " << r.signal;
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, std::string(c.line) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Display, TileRefused,
    ::testing::Values(
        RefusalCase{"NoLayerShell", true,
                    "tavock: the Wayland compositor has no layer shell (zwlr_layer_shell_v1)"},
        RefusalCase{"NoCompositor", false, "tavock: cannot connect to the Wayland display"}),
    [](const ::testing::TestParamInfo<RefusalCase> &info) { return info.param.name; });

} // namespace
