// The command line in-process: which row an argument matches, what values
// convert to, and option order. Paths that exit are run as processes in
// test_config_process.cpp.
#include "config/cmdline.h"
#include "settings/settings.h"
#include "settings_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(CommandLine, TableRowsInOrder)
{
    // The order decides: -nap before -na..., -lc and -lto shorter than documented.
    const struct {
        const char *prefix;
        bool takesValue;
    } expected[] = {
        {"-rc", true},        {"-withdrawn", false}, {"-iconic", false}, {"-standout", false},
        {"-noborder", false}, {"-u", true},          {"-shift", true},   {"-ns", false},
        {"-nd", false},       {"-nap", false},       {"-geometry", true}, {"-title", true},
        {"-display", true},   {"-bg", true},         {"-fg", true},      {"-label", true},
        {"-fn", true},        {"-lc", true},         {"-lto", false},    {"-sec", true},
        {"-min", true},       {"-hour", true},       {"-day", true},     {"-ampm", true},
        {"-date", true},      {"-exe", true},        {"-at", false},     {"-nt", false},
        {"-fs", false},       {"-ts", false},        {"-ht", true},      {"-ot", true},
        {"-fh", false},       {"-oh", false},        {"-nh", false},     {"-nf", false},
        {"-scale", true},     {"-smooth", false},    {"-wayland", false}, {"-layer", true},
        {"-output", true},
    };
    ASSERT_EQ(commandLineOptionCount, 41);
    for (int i = 0; i < 41; i++) {
        EXPECT_STREQ(commandLineOptions[i].prefix, expected[i].prefix) << i;
        EXPECT_EQ(commandLineOptions[i].takesValue, expected[i].takesValue) << i;
    }
}

TEST(CommandLine, ArgumentDecisions)
{
    // An option spelt out, shortened or lengthened, and the row it matches.
    const std::pair<const char *, const char *> options[] = {
        {"-rc", "-rc"},       {"-rcfile", "-rc"},   {"-lto", "-lto"},       {"-ltop", "-lto"},
        {"-ltopx", "-lto"},   {"-lc", "-lc"},       {"-lcolor", "-lc"},     {"-lcol", "-lc"},
        {"-update", "-u"},    {"-u", "-u"},         {"-shift", "-shift"},   {"-nap", "-nap"},
        {"-nd", "-nd"},       {"-hours", "-hour"},  {"-ht", "-ht"},         {"-at", "-at"},
        {"-oh", "-oh"},       {"-scale", "-scale"}, {"-scaled", "-scale"},  {"-smooth", "-smooth"},
        {"-layer", "-layer"}, {"-layers", "-layer"}, {"-output", "-output"}, {"-label", "-label"},
    };
    for (auto [arg, prefix] : options) {
        ArgumentDecision d = decideArgument(arg);
        EXPECT_EQ(d.kind, ARGUMENT_OPTION) << arg;
        ASSERT_GE(d.row, 0) << arg;
        EXPECT_STREQ(commandLineOptions[d.row].prefix, prefix) << arg;
    }
    // No row's prefix begins these: the banner and the usage text.
    for (const char *arg : {"-lt", "-sh", "-na", "-h", "-H", "-help", "-", "", "clock", "V", "-v",
                            "--V", "-sc", "-sm"})
        EXPECT_EQ(decideArgument(arg).kind, ARGUMENT_BANNER_USAGE) << arg;
    for (const char *arg : {"-V", "-Vx"})
        EXPECT_EQ(decideArgument(arg).kind, ARGUMENT_VERSION) << arg;
}

TEST(CommandLine, NumberConversions)
{
    struct {
        const char *text;
        int number;
    } numbers[] = {{"0", 0}, {"12abc", 12}, {"  -5", -5}, {"+7", 7}, {"abc", 0},
                   {"", 0}, {"2147483647", INT_MAX}, {"4294967298", INT_MAX},
                   {"-99999999999999999999", INT_MIN}};
    for (auto &r : numbers)
        EXPECT_EQ(readNumber(r.text), r.number) << r.text;

    EXPECT_EQ(narrowUnsigned16(300), 300);
    EXPECT_EQ(narrowUnsigned16(-1), 65535);
    EXPECT_EQ(narrowUnsigned16(65536 + 3), 3);
    EXPECT_EQ(narrowSigned16(65535), -1);
    EXPECT_EQ(narrowSigned16(32768), -32768);
    EXPECT_EQ(narrowSigned16(-23), -23);
}

TEST(CommandLine, UpdateIntervalAndShift)
{
    struct {
        const char *option, *value;
        int64_t interval;
        short shift;
    } rows[] = {
        {"-u", "0", 1, 0},        {"-u", "1", 1, 0},         {"-u", "-5", 1, 0},
        {"-u", "abc", 1, 0},      {"-u", "2", 2, 0},         {"-update", "5", 5, 0},
        {"-u", "4294967298", INT_MAX, 0},  // never wraps to a short interval
        {"-shift", "23", 1, 23},  {"-shift", "-23", 1, -23}, {"-shift", "24", 1, 0},
        {"-shift", "-24", 1, 0},  {"-shift", "65541", 1, 5},  // narrowed to 16 bits first
        {"-shiftx", "3", 1, 3},
    };
    for (auto &r : rows) {
        settingsFromCommandLine({r.option, r.value});
        EXPECT_EQ(settings.updateInterval, r.interval) << r.option << " " << r.value;
        EXPECT_EQ(settings.shift, r.shift) << r.option << " " << r.value;
    }
}

TEST(CommandLine, ScaleAndSmooth)
{
    struct {
        std::vector<std::string> args;
        int scale, smooth;
    } rows[] = {
        {{}, 1, 0},
        {{"-scale", "2"}, 2, 0},       {{"-scale", "8"}, 8, 0},
        {{"-scale", "9"}, 8, 0},       {{"-scale", "4294967298"}, 8, 0},
        {{"-scale", "0"}, 1, 0},       {{"-scale", "-3"}, 1, 0},
        {{"-scale", "big"}, 1, 0},     {{"-scale", "3x"}, 3, 0},
        {{"-smooth"}, 1, 1},           {{"-smooth", "-scale", "2"}, 2, 1},
    };
    for (auto &r : rows) {
        settingsFromCommandLine(r.args);
        std::string args;
        for (const std::string &a : r.args)
            args += a + " ";
        EXPECT_EQ(settings.scale, r.scale) << args;
        EXPECT_EQ(settings.smooth, r.smooth) << args;
    }
}

TEST(CommandLine, ThicknessAndFancyHandsOrder)
{
    struct {
        std::vector<std::string> args;
        unsigned short handThickness, outThickness;
        int fancyHands;
    } rows[] = {
        {{"-ht", "300"}, 300, 1, 0},
        {{"-ht", "-1"}, 65535, 1, 0},
        {{"-ot", "70000"}, 1, 70000 - 65536, 0},
        {{"-fh"}, 5, 1, 1},
        {{"-ht", "3", "-fh"}, 3, 1, 1},
        {{"-fh", "-ht", "3"}, 3, 1, 1},
    };
    for (auto &r : rows) {
        settingsFromCommandLine(r.args);
        EXPECT_EQ(settings.handThickness, r.handThickness) << r.args[0];
        EXPECT_EQ(settings.outThickness, r.outThickness) << r.args[0];
        EXPECT_EQ(settings.fancyHands, r.fancyHands) << r.args[0];
    }
    // A handThickness from the resource file keeps -fh from changing it.
    freshSettings();
    settings.handThickness = 7;
    settings.handThicknessGiven = 1;
    char prog[] = "tavock", fh[] = "-fh";
    char *argv[] = {prog, fh, nullptr};
    parseCommandLine(2, argv);
    EXPECT_EQ(settings.handThickness, 7);
    EXPECT_EQ(settings.fancyHands, 1);
}

TEST(CommandLine, SwitchesAndValues)
{
    settingsFromCommandLine({"-nf", "-at"});
    EXPECT_EQ(settings.drawDayDate, 0);
    EXPECT_EQ(settings.drawAMPM, 0);
    EXPECT_EQ(settings.drawTicks, 2);

    settingsFromCommandLine({"-at", "-nf"});
    EXPECT_EQ(settings.drawTicks, 0);

    settingsFromCommandLine({"-title", "-V"});  // a value is never examined as an option
    EXPECT_STREQ(settings.title, "-V");

    settingsFromCommandLine({"-lto"});
    EXPECT_EQ(settings.LabelTop, 1);
    settingsFromCommandLine({"-ltopx"});
    EXPECT_EQ(settings.LabelTop, 1);
    settingsFromCommandLine({"-lcolor", "red"});
    EXPECT_STREQ(settings.LabelColor, "red");
    settingsFromCommandLine({"-lc", "blue"});
    EXPECT_STREQ(settings.LabelColor, "blue");

    settingsFromCommandLine({"-rc", "ignored", "-withdrawn", "-iconic", "-standout", "-noborder",
                             "-ns", "-nd", "-nap", "-fs", "-ts", "-oh", "-nh", "-label", "hi",
                             "-exe", "xterm", "-display", ":5", "-geometry", "80x80", "-bg", "b",
                             "-fg", "f", "-sec", "s", "-min", "m", "-hour", "h", "-day", "d",
                             "-ampm", "a", "-date", "t", "-fn", "fixed", "-layer", "bottom",
                             "-output", "DP-2"});
    const ClockSettings &s = settings;
    EXPECT_EQ(s.withdrawn + s.iconic + s.noborder, 3);
    EXPECT_EQ(s.pushedIn, 0);
    EXPECT_EQ(s.drawSecondHand + s.drawDayDate + s.drawAMPM, 0);
    EXPECT_EQ(s.floatSeconds + s.thinSeconds + s.neonHands, 3);
    EXPECT_EQ(s.outlinedHands, 1);
    EXPECT_EQ(s.labelOn, 1);
    EXPECT_EQ(s.execGiven, 1);
    const std::pair<const char *, const char *> texts[] = {
        {s.Label, "hi"}, {s.execProg, "xterm"}, {s.displayName, ":5"}, {s.geometry, "80x80"},
        {s.background, "b"}, {s.foreground, "f"}, {s.secondColor, "s"}, {s.minuteColor, "m"},
        {s.hourColor, "h"}, {s.dayColor, "d"}, {s.AMPMColor, "a"}, {s.dateColor, "t"},
        {s.Font, "fixed"}, {s.layer, "bottom"}, {s.output, "DP-2"},
    };
    for (auto [field, text] : texts)
        EXPECT_STREQ(field, text);
    EXPECT_STREQ(s.rcPath, "");  // -rc is start-up's business
}

TEST(CommandLine, TextLengthLimits)
{
    struct {
        const char *option;
        size_t length, stored;
        const char *(*field)();
    } rows[] = {
        {"-title", 100, 63, [] { return (const char *)settings.title; }},
        {"-title", 63, 63, [] { return (const char *)settings.title; }},
        {"-title", 64, 63, [] { return (const char *)settings.title; }},
        {"-exe", 300, 254, [] { return (const char *)settings.execProg; }},
        {"-label", 300, 255, [] { return (const char *)settings.Label; }},
        {"-fn", 300, 255, [] { return (const char *)settings.Font; }},
        {"-bg", 64, 63, [] { return (const char *)settings.background; }},
        {"-layer", 30, 15, [] { return (const char *)settings.layer; }},
        {"-output", 100, 63, [] { return (const char *)settings.output; }},
    };
    for (auto &r : rows) {
        std::string value(r.length, 'q');
        settingsFromCommandLine({r.option, value});
        EXPECT_EQ(std::string(r.field()), value.substr(0, r.stored)) << r.option << r.length;
    }
}

TEST(CommandLine, NoArgumentsChangeNothing)
{
    freshSettings();
    ClockSettings before = settings;
    char prog[] = "tavock";
    char *argv[] = {prog, nullptr};
    parseCommandLine(1, argv);
    EXPECT_EQ(std::memcmp(&before, &settings, sizeof settings), 0);
}

}  // namespace
