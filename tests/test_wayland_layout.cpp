// The tile's place and buffer scale worked out without a compositor: the
// X geometry position as layer-shell anchors and margins, and the scale of
// the outputs the surface is on.
#include <gtest/gtest.h>

#include "wayland/placement.h"
#include "wayland/setup.h"

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
    [](const ::testing::TestParamInfo<PlacementCase> &info) { return info.param.name; });

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
    [](const ::testing::TestParamInfo<ScaleCase> &info) { return info.param.name; });

} // namespace
