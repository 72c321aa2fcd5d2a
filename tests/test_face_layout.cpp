// Pure layout arithmetic of the display: tick points, dial layout, hand
// line widths, geometry sizes and the layout of the sprite table.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "render/layout.h"
#include "display/setup.h"
#include "render/indicators.h"
#include "render/geometry.h"

#include <string>
#include <utility>
#include <vector>

namespace {

using Points = std::vector<std::pair<int, int>>;

Points ticks(int cx, int cy, int rx, int ry, unsigned int drawTicks)
{
    TickPoint points[MAX_TICK_POINTS];
    int n = tickPoints(cx, cy, rx, ry, drawTicks, points);
    Points out;
    for (int i = 0; i < n; i++)
        out.push_back({points[i].x, points[i].y});
    return out;
}

TEST(TickPoints, DefaultDialFiveMinuteMarksAndWedges)
{
    // (39,5) at i = 5: 25 * 0.5 = 12.5 rounds to the even 12.
    Points expected = {
        {27, 2}, {39, 5}, {49, 13}, {52, 23}, {49, 33}, {39, 41}, {27, 44}, {15, 41},
        {5, 33}, {2, 23}, {5, 13}, {15, 5},
        {2, 22}, {2, 24}, {3, 23}, {52, 22}, {52, 24}, {51, 23},
        {26, 2}, {28, 2}, {27, 3}, {26, 44}, {28, 44}, {27, 43}};
    EXPECT_EQ(ticks(27, 23, 24, 20, 1), expected);
}

TEST(TickPoints, DatelessDial)
{
    Points ring = {{27, 2},  {39, 5},  {49, 15}, {52, 27}, {49, 39}, {39, 49},
                   {27, 52}, {15, 49}, {5, 39},  {2, 27},  {5, 15},  {15, 5}};
    Points got = ticks(27, 27, 24, 24, 1);
    ASSERT_EQ(got.size(), 24u);
    EXPECT_EQ(Points(got.begin(), got.begin() + 12), ring);
}

TEST(TickPoints, AllTicksCrossesAndNone)
{
    Points all = ticks(27, 23, 24, 20, 2);
    ASSERT_EQ(all.size(), 108u);  // 60 points, 12 of them with 4 neighbours
    Points cross = {{39, 5}, {39, 6}, {40, 5}, {39, 4}, {38, 5}};
    // i = 5 comes after i = 0 (5 points) and i = 1 to 4 (1 point each).
    EXPECT_EQ(Points(all.begin() + 9, all.begin() + 14), cross);
    EXPECT_TRUE(ticks(27, 23, 24, 20, 0).empty());
    EXPECT_EQ(ticks(27, 23, 24, 20, 3).size(), 60u);  // all minutes, but no crosses
    // A negative radius folds the ring across the centre without trouble.
    EXPECT_EQ(ticks(27, 2, 24, -1, 1).size(), 24u);
}

struct LayoutCase {
    int w, h, dayDate, labelOn, labelTop, labelHeight, labelWidth;
    DialLayout expected;
};

TEST(DialLayout, DesignExamples)
{
    const LayoutCase cases[] = {
        {54, 54, 1, 0, 0, 0, 0, {27, 23, 24, 20, 0, 0}},
        {54, 54, 0, 0, 0, 0, 0, {27, 27, 24, 24, 0, 0}},
        {64, 64, 1, 0, 0, 0, 0, {32, 28, 29, 25, 0, 0}},
        {80, 40, 1, 0, 0, 0, 0, {40, 16, 37, 13, 0, 0}},
        {54, 12, 1, 0, 0, 0, 0, {27, 2, 24, -1, 0, 0}},
        {54, 54, 1, 1, 1, 11, 30, {27, 29, 24, 14, 12, 11}},
        {54, 54, 1, 1, 0, 11, 30, {27, 18, 24, 14, 12, 44}},
        {54, 54, 0, 1, 0, 11, 31, {27, 22, 24, 18, 12, 51}},
    };
    for (const LayoutCase &c : cases) {
        DialLayout l = dialLayout(c.w, c.h, c.dayDate, c.labelOn, c.labelTop, c.labelHeight,
                                  c.labelWidth);
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        EXPECT_EQ(l.centerX, c.expected.centerX);
        EXPECT_EQ(l.centerY, c.expected.centerY);
        EXPECT_EQ(l.radiusX, c.expected.radiusX);
        EXPECT_EQ(l.radiusY, c.expected.radiusY);
        EXPECT_EQ(l.labelX, c.expected.labelX);
        EXPECT_EQ(l.labelY, c.expected.labelY);
    }
}

TEST(LineWidths, DefaultDial)
{
    struct {
        unsigned int thickness;
        int thin;
        int stroke[3];
    } strokes[] = {{1, 0, {0, 0, 0}}, {5, 0, {1, 2, 2}}, {10, 0, {2, 3, 4}}, {10, 1, {1, 3, 4}}};
    for (const auto &c : strokes)
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(strokeWidth(i, c.thin, c.thickness, 24, 20), c.stroke[i])
                << "thickness " << c.thickness << " hand " << i;
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(outlineWidth(i, 1, 24, 20), 0);
        EXPECT_EQ(outlineWidth(i, 50, 24, 20), i == 0 ? 1 : 2);
    }
    // A dial smaller than its margins has a negative mean radius: thin line.
    EXPECT_EQ(strokeWidth(2, 0, 200, -2, -3), 0);
    EXPECT_EQ(outlineWidth(2, 65535, 30000, 30000), 32767);
}

TEST(GeometrySize, ZeroAndHugeSidesKeepTheSize)
{
    struct {
        const char *geometry;
        unsigned int w, h;
    } cases[] = {{"", 54, 54},           {"64x64-0-0", 64, 64}, {"+10+20", 54, 54},
                 {"0x0", 54, 54},        {"0x40", 54, 40},      {"40000x40000", 54, 54},
                 {"32767x1", 32767, 1},  {"32768x99", 54, 99},  {"80x40", 80, 40}};
    for (const auto &c : cases) {
        unsigned int w = 54, h = 54;
        windowSizeFromGeometry(c.geometry, &w, &h);
        EXPECT_EQ(w, c.w) << c.geometry;
        EXPECT_EQ(h, c.h) << c.geometry;
    }
}

TEST(SpriteTable, FourImagesBackToBack)
{
    struct {
        int line;
        const char *header;
        int width, height, pitch;
        char background, ink;
    } sheets[] = {
        {DAY_SHEET_LINE, "    13    43       2            1", 13, 43, 6, 'c', 'l'},
        {AMPM_SHEET_LINE, "    13    13       2            1", 13, 13, 6, 'c', 'l'},
        {DIGIT_SHEET_LINE, "    7    71       2            1", 7, 71, 7, 'c', '.'},
        {MONTH_SHEET_LINE, "    19    73       2            1", 19, 73, 6, '.', 'o'},
    };
    for (const auto &s : sheets) {
        SCOPED_TRACE(s.header);
        EXPECT_STREQ(spriteTable[s.line], s.header);
        EXPECT_EQ(spriteTable[s.line + 1], std::string(1, s.background) + " c #385971");
        EXPECT_EQ(spriteTable[s.line + 2], std::string(1, s.ink) + " c #a0a0a0");
        for (int row = 0; row < s.height; row++) {
            std::string pixels = spriteTable[s.line + 3 + row];
            ASSERT_EQ(pixels.size(), static_cast<size_t>(s.width)) << "row " << row;
            bool separator = row % s.pitch == 0;
            bool allBackground = pixels == std::string(s.width, s.background);
            EXPECT_EQ(separator, allBackground) << "row " << row;
            // Background columns at both sides of every glyph.
            EXPECT_EQ(pixels.front(), s.background);
            EXPECT_EQ(pixels.back(), s.background);
        }
    }
    EXPECT_EQ(MONTH_SHEET_LINE + 3 + 73, SPRITE_TABLE_LINES);
}

TEST(SpriteTable, ColourLinesHoldTheLongestColourText)
{
    char line[COLOR_LINE_SIZE];
    std::string longest(63, 'x');
    formatColorLine(line, 'o', longest.c_str());
    EXPECT_EQ(std::string(line), "o c " + longest);
    formatColorLine(line, '.', "#385971");
    EXPECT_STREQ(line, ". c #385971");
}

} // namespace
