// The resource file reader: keyword rules, the execProg and at syntax, the
// messages on standard error, and the lines that must be refused safely.
#include "config/rcfile.h"
#include "settings_support.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const std::string MISSING0 = "parsercfile: missing param[0]\n";
const std::string MISSING1 = "parsercfile: missing param[1]\n";
const std::string UNKNOWN = "tavock: error in tavockrc file, ignoring...\n";
const std::string UNQUOTED =
    "tavock: executables must be double-quoted in tavockrc file, ignoring...\n";
const std::string TOO_LONG = "tavock: value too long in tavockrc file, ignoring...\n";

std::string freshParse(const std::string &text)
{
    freshSettings();
    return parseRcCapturingErrors(text);
}

TEST(RcFile, CommentsAndEmptyLinesChangeNothing)
{
    freshSettings();
    ClockSettings before = settings;
    EXPECT_EQ(parseRcCapturingErrors(""), "");
    EXPECT_EQ(parseRcCapturingErrors("# title nope\n\n#\n\n"), "");
    EXPECT_EQ(std::memcmp(&before, &settings, sizeof settings), 0);
}

TEST(RcFile, TextKeywordsAndMessages)
{
    struct {
        const char *text;
        const char *title;
        const char *label;
        int labelOn;
        std::string errors;
    } rows[] = {
        {"title clock\n", "clock", "tavock", 0, ""},
        {"title\tclock  trailing words\n", "clock", "tavock", 0, ""},
        {"title clock", "clock", "tavock", 0, ""},                 // last line, no newline
        {"title clock\r\n", "clock\r", "tavock", 0, ""},           // CR is ordinary
        {" # title x\n", "tavock", "tavock", 0, UNKNOWN},          // not a comment
        {"Label two words\n", "tavock", "two", 1, ""},
        {"Title x\ntitlex y\ntitl z\n", "tavock", "tavock", 0, UNKNOWN + UNKNOWN + UNKNOWN},
        {"   \t \n", "tavock", "tavock", 0, MISSING0},
        {"title x\n \t\n", "x", "tavock", 0, MISSING0},            // earlier line not reapplied
        {"title x\ntitle\n", "x", "tavock", 0, MISSING1},          // value-less never empties
        {"Label\n", "tavock", "tavock", 0, MISSING1},              // rule skipped entirely
        {"bogus\n", "tavock", "tavock", 0, MISSING1 + UNKNOWN},
        {"bogus value\n", "tavock", "tavock", 0, UNKNOWN},
        {"title a\ntitle b\n", "b", "tavock", 0, ""},
    };
    for (auto &r : rows) {
        EXPECT_EQ(freshParse(r.text), r.errors) << r.text;
        EXPECT_STREQ(settings.title, r.title) << r.text;
        EXPECT_STREQ(settings.Label, r.label) << r.text;
        EXPECT_EQ(settings.labelOn, r.labelOn) << r.text;
    }
}

TEST(RcFile, TextFieldLimits)
{
    std::string seventy(70, 'c');
    EXPECT_EQ(freshParse("background " + seventy + "\n"), "");
    EXPECT_EQ(std::string(settings.background), seventy.substr(0, 63));

    std::string ninetyNine(99, 'f');
    EXPECT_EQ(freshParse("Font " + ninetyNine + "\n"), "");
    EXPECT_EQ(std::string(settings.Font), ninetyNine);

    // One more than a slot holds: refused whole, never stored cut.
    EXPECT_EQ(freshParse("Font " + ninetyNine + "f\ntitle ok\n"), TOO_LONG);
    EXPECT_STREQ(settings.Font, "-*-helvetica-medium-r-*-*-9-240-*-*-*-*-*-*");
    EXPECT_STREQ(settings.title, "ok");
    EXPECT_EQ(freshParse(std::string(100, 'k') + " v\n"), TOO_LONG);
    EXPECT_EQ(freshParse(std::string(99, 'k') + " v\n"), UNKNOWN);

    // "<>" written explicitly is the same as not given.
    EXPECT_EQ(freshParse("secondOutColor <>\nhourFillColor red\n"), "");
    EXPECT_FALSE(overrideGiven(settings.secondOutColor));
    EXPECT_STREQ(settings.hourFillColor, "red");
}

TEST(RcFile, LongLinesAreReadInPieces)
{
    // 199 characters per read: the rest of the line is a line of its own.
    std::string line = "title " + std::string(193, ' ') + "#comment\n";
    EXPECT_EQ(freshParse(line), MISSING1);  // "title" + blanks: no value in the first piece
    EXPECT_STREQ(settings.title, "tavock");

    std::string second = "title a" + std::string(192, ' ') + "title b\n";
    EXPECT_EQ(freshParse(second), "");
    EXPECT_STREQ(settings.title, "b");
}

TEST(RcFile, SwitchRules)
{
    struct {
        const char *text;
        short drawDayDate, drawAMPM;
        unsigned short drawTicks;
        int withdrawn, pushedIn;
    } rows[] = {
        {"drawDayDate 1\n", 1, 1, 1, 0, 1},
        {"drawDayDate 0\n", 0, 1, 1, 0, 1},
        {"drawDayDate zero\n", 0, 1, 1, 0, 1},               // no digits reads as 0
        {"drawTicks 0 # no ticks\n", 1, 1, 0, 0, 1},
        {"drawAllTicks 1\n", 1, 1, 2, 0, 1},
        {"drawAllTicks 1\ndrawTicks 0\n", 1, 1, 0, 0, 1},
        {"drawTicks 0\ndrawAllTicks 1\n", 1, 1, 0, 0, 1},
        {"drawAllTicks 2\n", 1, 1, 1, 0, 1},
        {"drawForeground 0\n", 0, 0, 0, 0, 1},
        {"drawForeground 1\n", 1, 1, 1, 0, 1},
        {"drawAMPM 0\n", 1, 0, 1, 0, 1},
        {"withdrawn 0\n", 1, 1, 1, 0, 1},
        {"withdrawn 7\n", 1, 1, 1, 1, 1},
        {"standout 1\n", 1, 1, 1, 0, 0},
        {"standout 0\n", 1, 1, 1, 0, 1},
    };
    for (auto &r : rows) {
        EXPECT_EQ(freshParse(r.text), "") << r.text;
        EXPECT_EQ(settings.drawDayDate, r.drawDayDate) << r.text;
        EXPECT_EQ(settings.drawAMPM, r.drawAMPM) << r.text;
        EXPECT_EQ(settings.drawTicks, r.drawTicks) << r.text;
        EXPECT_EQ(settings.withdrawn, r.withdrawn) << r.text;
        EXPECT_EQ(settings.pushedIn, r.pushedIn) << r.text;
    }
}

TEST(RcFile, NumericRules)
{
    struct {
        const char *text;
        unsigned short handThickness;
        int handThicknessGiven, fancyHands;
        short shift, floatSeconds;
    } rows[] = {
        {"fancyHands 1\n", 5, 0, 1, 0, 0},
        {"fancyHands 0\n", 1, 0, 0, 0, 0},
        {"handThickness 3\nfancyHands 1\n", 3, 1, 1, 0, 0},
        {"fancyHands 1\nhandThickness 3\n", 3, 1, 1, 0, 0},
        {"handThickness -1\n", 65535, 1, 0, 0, 0},
        {"handThickness 65539\n", 3, 1, 0, 0, 0},
        {"shift 23\n", 1, 0, 0, 23, 0},
        {"shift -23\n", 1, 0, 0, -23, 0},
        {"shift 24\n", 1, 0, 0, 0, 0},
        {"shift -24\n", 1, 0, 0, 0, 0},
        {"shift 5\nshift 99\n", 1, 0, 0, 0, 0},
        {"floatSeconds 2\n", 1, 0, 0, 0, 2},
        {"floatSeconds 1\nfloatSeconds 0\n", 1, 0, 0, 0, 1},
        {"floatSeconds 65536\n", 1, 0, 0, 0, 1},  // non-zero never clears the switch
    };
    for (auto &r : rows) {
        EXPECT_EQ(freshParse(r.text), "") << r.text;
        EXPECT_EQ(settings.handThickness, r.handThickness) << r.text;
        EXPECT_EQ(settings.handThicknessGiven, r.handThicknessGiven) << r.text;
        EXPECT_EQ(settings.fancyHands, r.fancyHands) << r.text;
        EXPECT_EQ(settings.shift, r.shift) << r.text;
        EXPECT_EQ(settings.floatSeconds, r.floatSeconds) << r.text;
    }
}

TEST(RcFile, ScaleSmoothAndWayland)
{
    struct {
        const char *text;
        int scale, smooth, wayland = 0;
    } rows[] = {
        {"scale 3\n", 3, 0},           {"scale 0\n", 1, 0},   {"scale -2\n", 1, 0},
        {"scale twice\n", 1, 0},       {"scale 9\n", 8, 0},   {"scale 8\nscale 2\n", 2, 0},
        {"smooth 1\n", 1, 1},          {"smooth 7\n", 1, 1},  {"smooth 0\n", 1, 0},
        {"smooth 1\nsmooth 0\n", 1, 1},  // 0 leaves it as it was
        {"wayland 1\n", 1, 0, 1},     {"wayland 0\n", 1, 0, 0}, {"wayland 1\nwayland 0\n", 1, 0, 1},
    };
    for (auto &r : rows) {
        EXPECT_EQ(freshParse(r.text), "") << r.text;
        EXPECT_EQ(settings.scale, r.scale) << r.text;
        EXPECT_EQ(settings.smooth, r.smooth) << r.text;
        EXPECT_EQ(settings.wayland, r.wayland) << r.text;
    }
}

TEST(RcFile, ExecProgLines)
{
    const char *DEFAULT_EXEC = "echo tavock: No program specified.";
    std::string ninetySix(96, 'x');
    struct {
        std::string text;
        std::string execProg;
        short execGiven;
        std::string errors;
    } rows[] = {
        {"execProg \"xterm -e top\"\n", "xterm -e top", 1, ""},
        {"execProg \"xterm -e top\"", "xterm -e to", 1, ""},      // last line, no newline
        {"execProg \"xterm\"\r\n", "xterm\"", 1, ""},            // CR LF keeps the quote
        {"execProg  \"a\" b\"\n", "a\" b", 1, ""},                // later quotes are ordinary
        {"execProg\t\"ls\"\n", "ls", 1, ""},
        {"execProg xterm\n", DEFAULT_EXEC, 0, UNQUOTED},
        {"execProg\n", DEFAULT_EXEC, 0, UNQUOTED},
        {"execProg", DEFAULT_EXEC, 0, UNQUOTED},
        {"execProg \"\"\n", "", 1, ""},                            // two characters: empty command
        {"execProg \"\n", DEFAULT_EXEC, 0, UNQUOTED},              // one character after the quote
        {"execProg \"", DEFAULT_EXEC, 0, UNQUOTED},                // quote ends the file
        {"execProg \"" + ninetySix + "\"\n", ninetySix, 1, ""},   // exactly fills the slot
        {"execProg \"" + ninetySix + "x\"\n", DEFAULT_EXEC, 0, TOO_LONG},
    };
    for (auto &r : rows) {
        EXPECT_EQ(freshParse(r.text), r.errors) << r.text;
        EXPECT_EQ(std::string(settings.execProg), r.execProg) << r.text;
        EXPECT_EQ(settings.execGiven, r.execGiven) << r.text;
    }
}

TEST(RcFile, AtLines)
{
    struct {
        std::string text;
        int hour, minute, second;
        std::string command;  // empty: no entry expected
        std::string errors;
    } rows[] = {
        {"at 07:30:00 \"echo wake\"\n", 7, 30, 0, "echo wake", ""},
        {"at\t7:5:09 \"x y\"\n", 7, 5, 9, "x y", ""},
        {"at 123:30:00 \"c\"\n", 123, 30, 0, "c", ""},              // no range test
        {"at 07:30:00:\"c\"\n", 7, 30, 0, "c", ""},                // colon ends seconds too
        {"at 07:30:00   \"c\"\n", 7, 30, 0, "c", ""},
        {"at 07:30:00 \"c\"", 7, 30, 0, "", ""},                   // last line: empty command
        {"at 07:30:00 \"", 0, 0, 0, "", UNQUOTED},                  // nothing after the quote
        {"at 07:30:00 \"cd\"", 7, 30, 0, "c", ""},                 // last line loses one
        {"at 07:30:00 echo wake\n", 0, 0, 0, "", UNQUOTED},
        {"at 07:30:00\n", 0, 0, 0, "", UNQUOTED},
        {"at 07:30:00", 0, 0, 0, "", UNQUOTED},
        {"at 07:30 \"c\"\n", 0, 0, 0, "", UNQUOTED},               // seconds field is "\"c\"\n"
        {"at 07:30\n", 0, 0, 0, "", UNQUOTED},
        {"at\n", 0, 0, 0, "", UNQUOTED},
        {"at", 0, 0, 0, "", UNQUOTED},
        {"at 07:30:0 \"c\"\n", 0, 0, 0, "", UNQUOTED},             // one-digit seconds
        {"at 07:30:0 \"c \"d\"\n", 0, 0, 0, "", UNQUOTED},
        {"at 07:30:00\t\"c\"\n", 0, 0, 0, "", UNQUOTED},           // tab after the seconds
        {"at 07:30:00\t\"c d\"\n", 0, 0, 0, "", UNQUOTED},
        {"at 07:30:000 \"c\"\n", 0, 0, 0, "", UNQUOTED},
        {"at 07:30:00 \"\n", 0, 0, 0, "", UNQUOTED},
    };
    for (auto &r : rows) {
        EXPECT_EQ(freshParse(r.text), r.errors) << r.text;
        if (r.command.empty() && !r.errors.empty()) {
            EXPECT_EQ(settings.alarmCount, 0) << r.text;
            EXPECT_EQ(settings.alarmsGiven, 0) << r.text;
            continue;
        }
        ASSERT_EQ(settings.alarmCount, 1) << r.text;
        EXPECT_EQ(settings.alarmsGiven, 1);
        const AlarmEntry *a = settings.alarms[0];
        EXPECT_EQ(a->hour, r.hour) << r.text;
        EXPECT_EQ(a->minute, r.minute) << r.text;
        EXPECT_EQ(a->second, r.second) << r.text;
        EXPECT_EQ(a->fired, 0);
        EXPECT_EQ(std::string(a->command), r.command) << r.text;
    }
}

TEST(RcFile, AlarmsKeepFileOrderAndLongCommands)
{
    std::string longCommand(184, 'z');  // "at 07:30:00 \"" + 184 + "\"\n" = 199 characters
    std::string text = "at 07:30:00 \"first\"\nat 07:30:00 \"second\"\n"
                       "at 08:00:00 \"" + longCommand + "\"\n";
    EXPECT_EQ(freshParse(text), "");
    ASSERT_EQ(settings.alarmCount, 3);
    EXPECT_STREQ(settings.alarms[0]->command, "first");
    EXPECT_STREQ(settings.alarms[1]->command, "second");
    EXPECT_EQ(std::string(settings.alarms[2]->command), longCommand);
    EXPECT_NE(settings.alarms[0], settings.alarms[1]);  // each entry on its own
}

TEST(RcFile, StoreQuotedCommandNeverExceedsTheField)
{
    char field[16];
    std::memset(field, 'Z', sizeof field);
    std::string source(300, 'a');
    EXPECT_TRUE(storeQuotedCommand(field, 8, source.c_str()));
    EXPECT_EQ(std::string(field), std::string(7, 'a'));
    for (size_t k = 8; k < sizeof field; k++)
        EXPECT_EQ(field[k], 'Z');
    EXPECT_FALSE(storeQuotedCommand(field, 8, "x"));
    EXPECT_FALSE(storeQuotedCommand(field, 8, ""));
    EXPECT_TRUE(storeQuotedCommand(field, 8, "ab"));
    EXPECT_STREQ(field, "");
}

TEST(RcFile, KeywordTableHasFortyFiveDistinctRows)
{
    EXPECT_EQ(rcKeywordCount, 45);
    EXPECT_STREQ(rcKeywords[40].keyword, "scale");
    EXPECT_STREQ(rcKeywords[41].keyword, "smooth");
    EXPECT_STREQ(rcKeywords[42].keyword, "wayland");
    EXPECT_STREQ(rcKeywords[43].keyword, "layer");
    EXPECT_STREQ(rcKeywords[44].keyword, "output");
    for (int i = 0; i < rcKeywordCount; i++)
        EXPECT_EQ(findRcKeyword(rcKeywords[i].keyword), &rcKeywords[i]);
    EXPECT_EQ(findRcKeyword("label"), nullptr);
}

// Every keyword once, with comments, bad lines and alarms between them.
TEST(RcFile, CompleteFile)
{
    const char *text =
        "# tavock resource file\n"
        "geometry 64x64+10+20\n"
        "background #000000\n"
        "foreground #111111\n"
        "secondColor #222222\n"
        "minuteColor #333333\n"
        "hourColor #444444\n"
        "secondOutColor #555555\n"
        "minuteOutColor #666666\n"
        "hourOutColor #777777\n"
        "\n"
        "secondFillColor #888888\n"
        "minuteFillColor #999999\n"
        "hourFillColor #aaaaaa\n"
        "dayColor #bbbbbb\n"
        "AMPMColor #cccccc\n"
        "dateColor #dddddd\n"
        "Label Hello world\n"
        "Font fixed\n"
        "LabelColor #eeeeee\n"
        "LabelTop 1\n"
        "  # indented comment is a keyword\n"
        "drawSecondHand 0\n"
        "drawDayDate 0\n"
        "drawAMPM 0\n"
        "drawAllTicks 1\n"
        "drawTicks 3\n"
        "drawForeground 1\n"
        "floatSeconds 1\n"
        "thinSeconds 1\n"
        "handThickness 4\n"
        "outThickness 2\n"
        "fancyHands 1\n"
        "outlinedHands 1\n"
        "neonHands 1\n"
        "execProg \"xclock -digital\"\n"
        "at 06:45:00 \"echo alarm\"\n"
        "at 06:45:00 echo unquoted\n"
        "withdrawn 1\n"
        "iconic 1\n"
        "standout 1\n"
        "noborder 1\n"
        "shift -5\n"
        "title MyClock\n"
        "layer overlay\n"
        "output HDMI-A-1\n"
        "colour red\n"
        "title\n"
        "at 23:59:59 \"date\"\n";
    std::string errors = freshParse(text);
    EXPECT_EQ(errors, UNKNOWN + UNQUOTED + UNKNOWN + MISSING1);
    const ClockSettings &s = settings;
    const std::pair<const char *, const char *> texts[] = {
        {s.geometry, "64x64+10+20"}, {s.background, "#000000"}, {s.foreground, "#111111"},
        {s.secondColor, "#222222"}, {s.minuteColor, "#333333"}, {s.hourColor, "#444444"},
        {s.secondOutColor, "#555555"}, {s.minuteOutColor, "#666666"},
        {s.hourOutColor, "#777777"}, {s.secondFillColor, "#888888"},
        {s.minuteFillColor, "#999999"}, {s.hourFillColor, "#aaaaaa"},
        {s.dayColor, "#bbbbbb"}, {s.AMPMColor, "#cccccc"}, {s.dateColor, "#dddddd"},
        {s.Label, "Hello"}, {s.Font, "fixed"}, {s.LabelColor, "#eeeeee"},
        {s.execProg, "xclock -digital"}, {s.title, "MyClock"}, {s.layer, "overlay"},
        {s.output, "HDMI-A-1"},
    };
    for (auto [field, text] : texts)
        EXPECT_STREQ(field, text);
    EXPECT_EQ(s.labelOn, 1);
    EXPECT_EQ(s.LabelTop, 1);
    EXPECT_EQ(s.drawSecondHand, 0);
    EXPECT_EQ(s.drawDayDate, 0);
    EXPECT_EQ(s.drawAMPM, 0);
    EXPECT_EQ(s.drawTicks, 2);
    EXPECT_EQ(s.floatSeconds, 1);
    EXPECT_EQ(s.thinSeconds, 1);
    EXPECT_EQ(s.handThickness, 4);
    EXPECT_EQ(s.handThicknessGiven, 1);
    EXPECT_EQ(s.outThickness, 2);
    EXPECT_EQ(s.fancyHands, 1);
    EXPECT_EQ(s.outlinedHands, 1);
    EXPECT_EQ(s.neonHands, 1);
    EXPECT_EQ(s.execGiven, 1);
    EXPECT_EQ(s.withdrawn, 1);
    EXPECT_EQ(s.iconic, 1);
    EXPECT_EQ(s.pushedIn, 0);
    EXPECT_EQ(s.noborder, 1);
    EXPECT_EQ(s.shift, -5);
    EXPECT_EQ(s.alarmsGiven, 1);
    ASSERT_EQ(s.alarmCount, 2);
    EXPECT_EQ(s.alarms[0]->hour, 6);
    EXPECT_EQ(s.alarms[0]->minute, 45);
    EXPECT_STREQ(s.alarms[0]->command, "echo alarm");
    EXPECT_EQ(s.alarms[1]->second, 59);
    EXPECT_STREQ(s.alarms[1]->command, "date");
    // Untouched by the file.
    EXPECT_STREQ(s.displayName, "");
    EXPECT_EQ(s.updateInterval, 1);
}

// An endless stream of at lines under a small address-space limit must end
// in the one message and status 1, not in a crash.
TEST(RcFileDeathTest, AlarmMemoryExhaustionExits)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's shadow memory needs more than the limit";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto exhaust = [] {
        freshSettings();
        struct rlimit limit;
        long pages = 0, resident = 0;
        FILE *statm = std::fopen("/proc/self/statm", "r");
        if (!statm || std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            std::_Exit(2);
        std::fclose(statm);
        limit.rlim_cur = limit.rlim_max =
            static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + 8 * 1024 * 1024;
        setrlimit(RLIMIT_AS, &limit);
        const char line[] = "at 07:30:00 \"echo a fairly long alarm command\"\n";
        for (;;)
            parseRcLine(line);
    };
    EXPECT_EXIT(exhaust(), ::testing::ExitedWithCode(1),
                "^tavock: memory reallocation error, exiting\n$");
}

}  // namespace
