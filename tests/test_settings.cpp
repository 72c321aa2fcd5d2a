// boundedCopy limits, the defaults and the default resource-file path.
#include "app/startup.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(BoundedCopy, KeepsAtMostNMinusOneCharacters)
{
    struct {
        size_t sourceLength;
        int n;
        size_t stored;
    } rows[] = {{100, 64, 63}, {63, 64, 63}, {64, 64, 63}, {0, 64, 0},
                {300, 255, 254}, {300, 256, 255}, {5, 1, 0}};
    for (auto &r : rows) {
        char field[256];
        std::memset(field, 'Z', sizeof field);
        std::string source(r.sourceLength, 'a');
        boundedCopy(field, source.c_str(), r.n);
        EXPECT_EQ(std::strlen(field), r.stored) << r.sourceLength << " into " << r.n;
        // Nothing at or beyond position n is touched.
        for (size_t k = static_cast<size_t>(r.n); k < sizeof field; k++)
            ASSERT_EQ(field[k], 'Z') << "byte " << k << " written";
    }
}

TEST(Defaults, MatchTheDocumentedValues)
{
    setDefaults();
    EXPECT_STREQ(settings.title, "tavock");
    EXPECT_STREQ(settings.displayName, "");
    EXPECT_EQ(settings.updateInterval, 1);
    EXPECT_EQ(settings.drawTicks, 1);
    EXPECT_EQ(settings.windowWidth, 54u);
    EXPECT_EQ(settings.windowHeight, 54u);
    EXPECT_STREQ(settings.background, "#385971");
    EXPECT_STREQ(settings.minuteColor, "#ff3030");
    EXPECT_STREQ(settings.hourFillColor, "<>");
    EXPECT_FALSE(overrideGiven(settings.secondOutColor));
    EXPECT_TRUE(overrideGiven(""));
    EXPECT_STREQ(settings.execProg, "echo tavock: No program specified.");
    EXPECT_STREQ(settings.Font, "-*-helvetica-medium-r-*-*-9-240-*-*-*-*-*-*");
    EXPECT_EQ(settings.pushedIn, 1);
    EXPECT_EQ(settings.alarmCount, 0);
}

TEST(DefaultRcPath, BuiltFromHome)
{
    struct {
        const char *home;
        bool ok;
        const char *path;
    } rows[] = {{"/home/u", true, "/home/u/.tavockrc"},
                {"/home/u/", true, "/home/u/.tavockrc"},
                {"", true, "/.tavockrc"},
                {nullptr, false, ""}};
    for (auto &r : rows) {
        char out[256] = "";
        EXPECT_EQ(defaultRcPath(r.home, out, sizeof out), r.ok);
        if (r.ok) {
            EXPECT_STREQ(out, r.path);
        }
    }
}

TEST(DefaultRcPath, LongestHomeThatFitsAndOneMore)
{
    char out[256];
    // 245 characters plus "/.tavockrc" and the terminator fill 256 bytes.
    std::string home(245, 'h');
    EXPECT_TRUE(defaultRcPath(home.c_str(), out, sizeof out));
    EXPECT_EQ(std::strlen(out), 255u);
    EXPECT_FALSE(defaultRcPath((home + "h").c_str(), out, sizeof out));
    std::string slashed = std::string(245, 'h') + "/";
    EXPECT_TRUE(defaultRcPath(slashed.c_str(), out, sizeof out));
    EXPECT_FALSE(defaultRcPath((std::string(300, 'h')).c_str(), out, sizeof out));
}

TEST(StartUp, WaylandIsChosenWhenAskedOrWhenOnlyWaylandIsNamed)
{
    struct {
        int asked;
        const char *displayName, *xDisplay, *waylandDisplay;
        bool wayland;
    } rows[] = {
        {1, ":0", ":0", nullptr, true},           {0, "", nullptr, "wayland-1", true},
        {0, "", "", "wayland-1", true},           {0, "", ":0", "wayland-1", false},
        {0, ":1", nullptr, "wayland-1", false},   {0, "", nullptr, nullptr, false},
        {0, "", nullptr, "", false},
    };
    for (const auto &r : rows)
        EXPECT_EQ(waylandChosen(r.asked, r.displayName, r.xDisplay, r.waylandDisplay), r.wayland)
            << r.asked << " '" << r.displayName << "' " << (r.xDisplay ? r.xDisplay : "(unset)")
            << " " << (r.waylandDisplay ? r.waylandDisplay : "(unset)");
}

}  // namespace
