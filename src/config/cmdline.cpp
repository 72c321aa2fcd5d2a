// The command line, the last configuration layer: one pass over the
// arguments, each matched against the option table in order, first match
// wins. Also the usage text and the version banner. Exits only on -V,
// usage problems and unknown arguments, always with status 0.
#include "config/cmdline.h"

#include "settings/settings.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int readNumber(const char *text)
{
    // strtol reads exactly what atoi reads; only the overflow differs.
    long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

short narrowSigned16(int number)
{
    unsigned low = static_cast<unsigned>(number) & 0xffffu;
    return static_cast<short>(low >= 0x8000u ? static_cast<int>(low) - 0x10000
                                             : static_cast<int>(low));
}

unsigned short narrowUnsigned16(int number)
{
    return static_cast<unsigned short>(static_cast<unsigned>(number) & 0xffffu);
}

int64_t updateIntervalFrom(int number)
{
    return number >= 2 ? number : 1;
}

int scaleFrom(int number)
{
    if (number < 1)
        return 1;
    return number > 8 ? 8 : number;
}

short shiftFrom(int number)
{
    short hours = narrowSigned16(number);
    return hours >= -23 && hours <= 23 ? hours : 0;
}

// Rows 18 and 19 compare fewer characters than their documented names
// (-lcol, -ltop): "-lc" and "-lto" are what is matched.
const CommandLineOption commandLineOptions[] = {
    {"-rc", true, [](const char *) {}},  // read by start-up before us
    {"-withdrawn", false, [](const char *) { settings.withdrawn = 1; }},
    {"-iconic", false, [](const char *) { settings.iconic = 1; }},
    {"-standout", false, [](const char *) { settings.pushedIn = 0; }},
    {"-noborder", false, [](const char *) { settings.noborder = 1; }},
    {"-u", true, [](const char *v) { settings.updateInterval = updateIntervalFrom(readNumber(v)); }},
    {"-shift", true, [](const char *v) { settings.shift = shiftFrom(readNumber(v)); }},
    {"-ns", false, [](const char *) { settings.drawSecondHand = 0; }},
    {"-nd", false, [](const char *) { settings.drawDayDate = 0; }},
    {"-nap", false, [](const char *) { settings.drawAMPM = 0; }},
    {"-geometry", true, [](const char *v) { boundedCopy(settings.geometry, v); }},
    {"-title", true, [](const char *v) { boundedCopy(settings.title, v); }},
    {"-display", true, [](const char *v) { boundedCopy(settings.displayName, v); }},
    {"-bg", true, [](const char *v) { boundedCopy(settings.background, v); }},
    {"-fg", true, [](const char *v) { boundedCopy(settings.foreground, v); }},
    {"-label", true,
     [](const char *v) {
         settings.labelOn = 1;
         boundedCopy(settings.Label, v);
     }},
    {"-fn", true, [](const char *v) { boundedCopy(settings.Font, v); }},
    {"-lc", true, [](const char *v) { boundedCopy(settings.LabelColor, v); }},
    {"-lto", false, [](const char *) { settings.LabelTop = 1; }},
    {"-sec", true, [](const char *v) { boundedCopy(settings.secondColor, v); }},
    {"-min", true, [](const char *v) { boundedCopy(settings.minuteColor, v); }},
    {"-hour", true, [](const char *v) { boundedCopy(settings.hourColor, v); }},
    {"-day", true, [](const char *v) { boundedCopy(settings.dayColor, v); }},
    {"-ampm", true, [](const char *v) { boundedCopy(settings.AMPMColor, v); }},
    {"-date", true, [](const char *v) { boundedCopy(settings.dateColor, v); }},
    {"-exe", true,
     [](const char *v) {
         boundedCopy(settings.execProg, v, COMMAND_COPY_SIZE);
         settings.execGiven = 1;
     }},
    {"-at", false, [](const char *) { settings.drawTicks = 2; }},
    {"-nt", false, [](const char *) { settings.drawTicks = 0; }},
    {"-fs", false, [](const char *) { settings.floatSeconds = 1; }},
    {"-ts", false, [](const char *) { settings.thinSeconds = 1; }},
    {"-ht", true,
     [](const char *v) {
         settings.handThickness = narrowUnsigned16(readNumber(v));
         settings.handThicknessGiven = 1;
     }},
    {"-ot", true, [](const char *v) { settings.outThickness = narrowUnsigned16(readNumber(v)); }},
    {"-fh", false, [](const char *) { setFancyHands(); }},
    {"-oh", false, [](const char *) { settings.outlinedHands = 1; }},
    {"-nh", false, [](const char *) { settings.neonHands = 1; }},
    {"-nf", false, [](const char *) { clearForeground(); }},
    {"-scale", true, [](const char *v) { settings.scale = scaleFrom(readNumber(v)); }},
    {"-smooth", false, [](const char *) { settings.smooth = 1; }},
    {"-wayland", false, [](const char *) { settings.wayland = 1; }},
    {"-layer", true, [](const char *v) { boundedCopy(settings.layer, v); }},
    {"-output", true, [](const char *v) { boundedCopy(settings.output, v); }},
};
const int commandLineOptionCount =
    static_cast<int>(sizeof commandLineOptions / sizeof commandLineOptions[0]);

int matchOption(const char *arg)
{
    for (int row = 0; row < commandLineOptionCount; row++) {
        const char *prefix = commandLineOptions[row].prefix;
        if (std::strncmp(arg, prefix, std::strlen(prefix)) == 0)
            return row;
    }
    return -1;
}

ArgumentDecision decideArgument(const char *arg)
{
    if (arg[0] != '-')
        return {ARGUMENT_BANNER_USAGE, -1};
    int row = matchOption(arg);
    if (row >= 0)
        return {ARGUMENT_OPTION, row};
    // Only the second character is tested: -V, -Vx and -Version all count.
    return {arg[1] == 'V' ? ARGUMENT_VERSION : ARGUMENT_BANNER_USAGE, -1};
}

void applyOption(int row, const char *value)
{
    commandLineOptions[row].apply(value);
}

void parseCommandLine(int argc, char **argv)
{
    for (int i = 1; i < argc; i++) {
        ArgumentDecision decision = decideArgument(argv[i]);
        if (decision.kind == ARGUMENT_VERSION) {
            printVersion();
            std::exit(0);
        }
        if (decision.kind == ARGUMENT_BANNER_USAGE) {
            printVersion();
            printUsage();
        }
        const char *value = nullptr;
        if (commandLineOptions[decision.row].takesValue) {
            if (i + 1 >= argc)
                printUsage();
            value = argv[++i];  // never examined as an option itself
        }
        applyOption(decision.row, value);
    }
}

static const char *const usageLines[] = {
    "Usage : tavock [options ...]\n",
    "-V               print version and exit",
    "-h -H -help      print this message",
    "-rc <filename>   resource file name",
    "-u <secs>        the update interval in seconds",
    "-exe <prog>      the program to start when clicked on",
    "-display <name>  the name of the display to use",
    "-geometry <xywh> position/size on the screen (X geometry)",
    "-withdrawn       start in withdrawn shape (for WindowMaker)",
    "-iconic          start iconized",
    "-standout        standing out rather than being pushed in",
    "-noborder        no shaded border at all, thank you very much",
    "-shift <hrs>     show the time with the given shift in hours",
    "-title <name>    set the window/icon title to this name",
    "-bg <color>      background color",
    "-fg <color>      dial foreground color",
    "-sec <color>     second pointer color",
    "-min <color>     minute pointer color",
    "-hour <color>    hour pointer color",
    "-day <color>     day of the week display color",
    "-ampm <color>    AM/PM display color",
    "-date <color>    date display color",
    "-ns              no second hand",
    "-nd              no date/day of the week",
    "-nap             no AM/PM indicator",
    "-nt              draw no ticks",
    "-at              draw all ticks",
    "-fs              use a floating second indicator",
    "-ts              use a thin second hand/indicator",
    "-fh              render fancy hands",
    "-nh              neon hands (nice with -fh)",
    "-ht <0-200>      hand thickness",
    "-ot <0-200>      hand outline thickness (with -fh)",
    "-nf              no foreground (-nd -nap -nt)",
    "-label <text>    show the label <text> on the clock",
    "-fn <name>       use the font name for the label",
    "-lcol <color>    color to use for the label",
    "-ltop            the label should go on top",
    "-scale <1-8>     draw the clock N times larger, pixel for pixel",
    "-smooth          draw the hands anti-aliased",
    "-wayland         show the clock on the Wayland display",
    "-layer <name>    Wayland layer: background, bottom, top or overlay",
    "-output <name>   Wayland output to show the clock on",
};

void printUsage()
{
    for (const char *line : usageLines)
        std::printf("%s\n", line);
    std::printf("\n");
    std::exit(0);
}

void printVersion()
{
    std::printf("tavock : Wendmoor analog clock version 2.8\n");
}
