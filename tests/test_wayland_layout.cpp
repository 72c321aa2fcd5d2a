// The tile worked out without a compositor: the X geometry position as
// layer-shell anchors and margins, the scale of the outputs the surface is
// on, and its frames going into the buffers the compositor has released.
#include <gtest/gtest.h>

#include "render/geometry.h"
#include "render/layers.h"
#include "settings_support.h"
#include "styles.h"
#include "wayland/placement.h"
#include "wayland/setup.h"
#include "wayland/tile.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "wayland/layer_shell.h"

namespace {

const uint32_t TOP = ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP;
const uint32_t BOTTOM = ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM;
const uint32_t LEFT = ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT;
const uint32_t RIGHT = ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;

struct PlacementCase {
    const char *name;
    const char *geometry;
    uint32_t anchor;
    int32_t top, right, bottom, left;
};

void PrintTo(const PlacementCase &c, std::ostream *out)
{
    *out << c.name;
}

class PlacementTable : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTable, AnchorsAndMarginsFollowTheGeometry)
{
    const PlacementCase &c = GetParam();
    TilePlacement p = tilePlacement(c.geometry);
    EXPECT_EQ(p.anchor, c.anchor);
    EXPECT_EQ(p.top, c.top);
    EXPECT_EQ(p.right, c.right);
    EXPECT_EQ(p.bottom, c.bottom);
    EXPECT_EQ(p.left, c.left);
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, PlacementTable,
    ::testing::Values(
        PlacementCase{"TopLeft", "+10+20", TOP | LEFT, 20, 0, 0, 10},
        PlacementCase{"TopRight", "-10+20", TOP | RIGHT, 20, 10, 0, 0},
        PlacementCase{"BottomRight", "-10-20", BOTTOM | RIGHT, 0, 10, 20, 0},
        PlacementCase{"BottomLeft", "64x64+0-0", BOTTOM | LEFT, 0, 0, 0, 0},
        PlacementCase{"SizeOnly", "64x64", TOP | RIGHT, 0, 0, 0, 0},
        PlacementCase{"Empty", "", TOP | RIGHT, 0, 0, 0, 0},
        PlacementCase{"Null", nullptr, TOP | RIGHT, 0, 0, 0, 0},
        PlacementCase{"XAlone", "+7", TOP | LEFT, 0, 0, 0, 7},
        // Beyond the edge, as X would put the window.
        PlacementCase{"PastTheRightEdge", "--5+0", TOP | RIGHT, 0, -5, 0, 0},
        PlacementCase{"PastTheLeftEdge", "+-5+0", TOP | LEFT, 0, 0, 0, -5},
        PlacementCase{"Garbage", "north-east", TOP | RIGHT, 0, 0, 0, 0}),
    RowName());

struct ScaleCase {
    const char *name;
    int scales[3];    // 0: no output in that slot
    bool entered[3];
    int expected;
};

class BufferScaleTable : public ::testing::TestWithParam<ScaleCase> {};

void PrintTo(const ScaleCase &c, std::ostream *out)
{
    *out << c.name;
}

TEST_P(BufferScaleTable, IsTheLargestScaleOfTheOutputsShowingTheTile)
{
    const ScaleCase &c = GetParam();
    WaylandOutput outputs[3] = {};
    for (int i = 0; i < 3; i++) {
        // Only whether a slot is in use matters here, never the object.
        outputs[i].output = c.scales[i] ? reinterpret_cast<wl_output *>(&outputs[i]) : nullptr;
        outputs[i].scale = c.scales[i];
        outputs[i].entered = c.entered[i];
    }
    EXPECT_EQ(bufferScaleFor(outputs, 3), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, BufferScaleTable,
    ::testing::Values(ScaleCase{"NoOutputs", {0, 0, 0}, {false, false, false}, 1},
                      ScaleCase{"OnTheSmallerOne", {1, 2, 0}, {true, false, false}, 1},
                      ScaleCase{"AcrossTwo", {1, 3, 2}, {true, false, true}, 2},
                      ScaleCase{"NotShownYet", {1, 2, 0}, {false, false, false}, 2},
                      ScaleCase{"EnteredSlotFreedSince", {0, 2, 1}, {true, false, true}, 1}),
    RowName());

// The four layers by name; any other name (case counts) is top, and says so.
TEST(LayerNames, AreTheFourLayersAndTopOtherwise)
{
    const struct {
        const char *name;
        bool known;
        uint32_t layer;
    } rows[] = {{"", true, ZWLR_LAYER_SHELL_V1_LAYER_TOP},
                {"background", true, ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND},
                {"bottom", true, ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM},
                {"top", true, ZWLR_LAYER_SHELL_V1_LAYER_TOP},
                {"overlay", true, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY},
                {"Overlay", false, ZWLR_LAYER_SHELL_V1_LAYER_TOP},
                {"middle", false, ZWLR_LAYER_SHELL_V1_LAYER_TOP},
                {"topmost", false, ZWLR_LAYER_SHELL_V1_LAYER_TOP}};
    for (const auto &r : rows) {
        uint32_t layer = 99;
        EXPECT_EQ(tileLayer(r.name, &layer), r.known) << r.name;
        EXPECT_EQ(layer, r.layer) << r.name;
    }
}

// A frame wanted while the compositor holds both buffers draws nothing
// into them; it is asked for again once one is released, and drawn there.
TEST(WaylandFrames, WantedWhileBothBuffersAreHeldAreDrawnOnceOneIsReleased)
{
    settingsFromCommandLine({});
    deriveHandLayers();
    ASSERT_TRUE(setupTileFrame(nullptr));
    setHandShape();
    const int w = static_cast<int>(settings.windowWidth), h = static_cast<int>(settings.windowHeight);
    const uint32_t sentinel = 0xdeadbeef;
    std::vector<uint32_t> memory(2 * static_cast<size_t>(w) * h, sentinel);
    ClockWayland &tile = clockWayland;
    tile = {};
    tile.scale = tile.bufferScale = 1;
    // A configured tile, as far as drawing goes: its surface is never touched.
    tile.surface = reinterpret_cast<wl_surface *>(memory.data());
    tile.configured = true;
    tile.memory = memory.data();
    tile.bufferWidth = w;
    tile.bufferHeight = h;
    tile.stride = w * 4;
    tile.handedOut = -1;
    for (int i = 0; i < 2; i++)
        tile.buffers[i] = {nullptr, memory.data() + i * static_cast<size_t>(w) * h, true};
    auto untouched = [&](int i) {
        auto begin = memory.begin() + i * static_cast<long>(w) * h;
        return std::count(begin, begin + static_cast<long>(w) * h, sentinel);
    };
    struct tm shown = {};
    shown.tm_hour = 14;
    shown.tm_min = 5;
    shown.tm_mday = 15;

    waylandScreen.composeFrame(shown);
    EXPECT_TRUE(waylandScreen.afterWait(false).redrawNeeded);
    EXPECT_EQ(untouched(0) + untouched(1), 2L * w * h);
    tile.buffers[1].busy = false;
    waylandScreen.composeFrame(shown);
    EXPECT_FALSE(waylandScreen.afterWait(false).redrawNeeded);
    EXPECT_EQ(untouched(0), static_cast<long>(w) * h);
    EXPECT_EQ(untouched(1), 0);
    EXPECT_EQ(tile.handedOut, 1);
    tile = {};
}

} // namespace
