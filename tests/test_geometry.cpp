// Hand geometry against the worked examples of the default dial, the
// rounding rules (halfway to even) and the hand layer table.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "clock/state.h"
#include "display/setup.h"
#include "render/geometry.h"
#include "render/layers.h"
#include "render/layout.h"
#include "settings/settings.h"
#include "clock_support.h"
#include "styles.h"

#include <string>

namespace {

struct HandCase {
    const char *name;
    int hour, minute, second;
    int thickness;
    int floatSeconds;
    int hand;
    int line[4];
    int polygon[8];
};

// A failure names the case instead of dumping the record's bytes.
void PrintTo(const HandCase &c, std::ostream *out)
{
    *out << c.name;
}

// Default settings, and the dial a default 54x54 clock lays out.
void defaultDial()
{
    setDefaults();
    clockLayout.centerX = 27;
    clockLayout.centerY = 23;
    clockLayout.radiusX = 24;
    clockLayout.radiusY = 20;
}

class HandGeometryTable : public ::testing::TestWithParam<HandCase> {};

TEST_P(HandGeometryTable, MatchesWorkedExample)
{
    const HandCase &c = GetParam();
    defaultDial();
    settings.handThickness = static_cast<unsigned short>(c.thickness);
    settings.floatSeconds = static_cast<short>(c.floatSeconds);
    ASSERT_TRUE(shownGeometryAt(c.hour, c.minute, c.second));
    for (int k = 0; k < 4; k++)
        EXPECT_EQ(handGeometry.line[c.hand][k], c.line[k]) << "line " << k;
    for (int k = 0; k < 4; k++) {
        EXPECT_EQ(handGeometry.polygon[c.hand][k].x, c.polygon[2 * k]) << "point " << k;
        EXPECT_EQ(handGeometry.polygon[c.hand][k].y, c.polygon[2 * k + 1]) << "point " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    DefaultDial, HandGeometryTable,
    ::testing::Values(
        HandCase{"t0300_second", 3, 0, 0, 1, 0, SECOND_HAND, {27, 23, 27, 3},
                 {27, 23, 27, 23, 27, 3, 27, 23}},
        HandCase{"t0300_minute", 3, 0, 0, 1, 0, MINUTE_HAND, {27, 24, 27, 5},
                 {27, 24, 27, 24, 27, 5, 27, 24}},
        HandCase{"t0300_hour", 3, 0, 0, 1, 0, HOUR_HAND, {25, 23, 41, 23},
                 {25, 23, 25, 23, 41, 23, 25, 23}},
        HandCase{"t101030_second", 10, 10, 30, 5, 0, SECOND_HAND, {27, 23, 27, 43},
                 {28, 23, 26, 23, 27, 43, 28, 23}},
        HandCase{"t101030_minute_halfway_to_even", 10, 10, 30, 5, 0, MINUTE_HAND,
                 {26, 23, 46, 14}, {25, 22, 27, 24, 46, 14, 25, 22}},
        HandCase{"t101030_hour", 10, 10, 30, 5, 0, HOUR_HAND, {28, 24, 15, 17},
                 {27, 26, 29, 22, 15, 17, 27, 26}},
        HandCase{"t101030_floating_second", 10, 10, 30, 5, 1, SECOND_HAND, {27, 39, 27, 43},
                 {28, 39, 26, 39, 27, 43, 28, 39}},
        // Thickness 0: no width at all, every corner on the tail point.
        HandCase{"t101030_thickness0_hour", 10, 10, 30, 0, 0, HOUR_HAND, {28, 24, 15, 17},
                 {28, 24, 28, 24, 15, 17, 28, 24}}),
    RowName());

TEST(HandGeometry, ShiftMovesOnlyTheHour)
{
    struct {
        int hour, shift, expected;
    } rows[] = {{22, 5, 3}, {1, -3, 22}, {0, 0, 0}, {23, 23, 22}, {0, -23, 1}, {12, 0, 12}};
    for (auto &r : rows)
        EXPECT_EQ(shiftedHour(r.hour, r.shift), r.expected) << r.hour << "+" << r.shift;

    defaultDial();
    settings.shift = 5;
    ASSERT_TRUE(shownGeometryAt(22, 15, 0));  // Friday 15 March 2024, 22:15 UTC
    EXPECT_EQ(shownTime->tm_hour, 3);
    EXPECT_EQ(shownTime->tm_min, 15);
    EXPECT_EQ(shownTime->tm_mday, 15);
    EXPECT_EQ(shownTime->tm_wday, 5);
}

TEST(HandGeometry, PositionsMoveInWholeSteps)
{
    struct {
        int hour, minute, second, ps, pm, ph;
    } rows[] = {
        {10, 10, 30, 30, 10, 50}, {3, 0, 0, 0, 0, 15}, {3, 11, 59, 59, 11, 15},
        {3, 12, 0, 0, 12, 16},    {23, 59, 60, 60, 60, 59},  // leap second
        {12, 0, 0, 0, 0, 0},
    };
    for (auto &r : rows) {
        struct tm t = {};
        t.tm_hour = r.hour;
        t.tm_min = r.minute;
        t.tm_sec = r.second;
        int p[3];
        handPositions(t, p);
        EXPECT_EQ(p[SECOND_HAND], r.ps);
        EXPECT_EQ(p[MINUTE_HAND], r.pm);
        EXPECT_EQ(p[HOUR_HAND], r.ph);
    }
}

TEST(HandGeometry, NonSquareDialFollowsEachRadius)
{
    int line[4];
    XPoint poly[4];
    computeHandPoints(15, 0.0f, 0.9f, 0.05f, 40, 16, 37, 13, line, poly);
    EXPECT_EQ(line[2], 40 + 33);  // rint(0.9 * 37) = 33
    EXPECT_EQ(line[3], 16);
    computeHandPoints(0, 0.0f, 0.9f, 0.05f, 40, 16, 37, 13, line, poly);
    EXPECT_EQ(line[2], 40);
    EXPECT_EQ(line[3], 16 - 12);  // rint(0.9 * 13) = 11.7 -> 12
}

TEST(HandGeometry, HugeDialClampsCornersAndWrapsTip)
{
    int line[4];
    XPoint poly[4];
    computeHandPoints(15, 0.5f, 1.0f, 0.5f, 40000, 10, 40000, 10, line, poly);
    EXPECT_EQ(line[2], 80000);
    EXPECT_EQ(poly[0].x, 20000);
    EXPECT_EQ(poly[2].x, static_cast<short>(80000 & 0xffff));
    computeHandPoints(15, 0.5f, 1.0f, -2.0f, 40000, 10, 40000, 10, line, poly);
    EXPECT_EQ(poly[0].x, 32767);  // tail at 120000, clamped
}

// Smooth hands are drawn at window resolution: on a scaled clock their
// geometry is that of the magnified dial; plain hands stay on the frame's.
TEST(HandGeometry, SmoothHandsOnAScaledClockUseTheMagnifiedDial)
{
    struct {
        int scale, smooth;
        int hourLine[4];
    } rows[] = {
        {1, 0, {25, 23, 41, 23}},  {3, 0, {25, 23, 41, 23}},  {1, 1, {25, 23, 41, 23}},
        {2, 1, {51, 46, 83, 46}},  // tail 54 - rint(0.07 x 48) = 51, tip 54 + rint(28.8)
        {3, 1, {76, 69, 124, 69}},
    };
    for (auto &r : rows) {
        defaultDial();
        settings.scale = r.scale;
        settings.smooth = r.smooth;
        ASSERT_TRUE(shownGeometryAt(3, 0, 0));
        for (int k = 0; k < 4; k++)
            EXPECT_EQ(handGeometry.line[HOUR_HAND][k], r.hourLine[k])
                << "scale " << r.scale << " smooth " << r.smooth << " value " << k;
    }
}

TEST(HandGeometry, UnconvertibleClockReadingIsReportedNotDereferenced)
{
    defaultDial();
    setHandShape();
    currentTime = static_cast<time_t>(0x7fffffffffffffffLL);
    EXPECT_FALSE(shownGeometryAtCurrentTime());
    EXPECT_EQ(shownTime, nullptr);
}

struct LayerCase {
    int outlined, fancy, thin;
    HandLayers second, others;
};

TEST(HandLayers, DerivedFromTheStyleSwitches)
{
    const LayerCase rows[] = {
        {0, 0, 0, {1, 0, 0}, {1, 0, 0}}, {0, 1, 0, {0, 1, 1}, {0, 1, 1}},
        {1, 0, 0, {0, 1, 0}, {0, 1, 0}}, {1, 1, 0, {0, 1, 0}, {0, 1, 0}},
        {0, 0, 1, {1, 0, 0}, {1, 0, 0}}, {0, 1, 1, {1, 0, 0}, {0, 1, 1}},
        {1, 0, 1, {1, 0, 0}, {0, 1, 0}}, {1, 1, 1, {1, 0, 0}, {0, 1, 0}},
    };
    for (const LayerCase &r : rows) {
        setDefaults();
        settings.outlinedHands = r.outlined;
        settings.fancyHands = r.fancy;
        settings.thinSeconds = static_cast<short>(r.thin);
        deriveHandLayers();
        const HandLayers *l = settings.handLayers;
        SCOPED_TRACE(testing::Message() << r.outlined << r.fancy << r.thin);
        for (int i = 0; i < 3; i++) {
            const HandLayers &want = i == SECOND_HAND ? r.second : r.others;
            EXPECT_EQ(l[i].stroke, want.stroke) << "hand " << i;
            EXPECT_EQ(l[i].outline, want.outline) << "hand " << i;
            EXPECT_EQ(l[i].fill, want.fill) << "hand " << i;
        }
    }
}

}  // namespace
