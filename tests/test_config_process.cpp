// The configuration paths that end the process, run as the real program:
// usage text and banner byte for byte, exit statuses, which resource file is
// read, and the order of resource-file messages and the usage text.
#include <gtest/gtest.h>

#include "process.h"

#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const std::string BANNER = "tavock : Wendmoor analog clock version 2.8\n";
const std::string USAGE =
    "Usage : tavock [options ...]\n"
    "\n"
    "-V               print version and exit\n"
    "-h -H -help      print this message\n"
    "-rc <filename>   resource file name\n"
    "-u <secs>        the update interval in seconds\n"
    "-exe <prog>      the program to start when clicked on\n"
    "-display <name>  the name of the display to use\n"
    "-geometry <xywh> position/size on the screen (X geometry)\n"
    "-withdrawn       start in withdrawn shape (for WindowMaker)\n"
    "-iconic          start iconized\n"
    "-standout        standing out rather than being pushed in\n"
    "-noborder        no shaded border at all, thank you very much\n"
    "-shift <hrs>     show the time with the given shift in hours\n"
    "-title <name>    set the window/icon title to this name\n"
    "-bg <color>      background color\n"
    "-fg <color>      dial foreground color\n"
    "-sec <color>     second pointer color\n"
    "-min <color>     minute pointer color\n"
    "-hour <color>    hour pointer color\n"
    "-day <color>     day of the week display color\n"
    "-ampm <color>    AM/PM display color\n"
    "-date <color>    date display color\n"
    "-ns              no second hand\n"
    "-nd              no date/day of the week\n"
    "-nap             no AM/PM indicator\n"
    "-nt              draw no ticks\n"
    "-at              draw all ticks\n"
    "-fs              use a floating second indicator\n"
    "-ts              use a thin second hand/indicator\n"
    "-fh              render fancy hands\n"
    "-nh              neon hands (nice with -fh)\n"
    "-ht <0-200>      hand thickness\n"
    "-ot <0-200>      hand outline thickness (with -fh)\n"
    "-nf              no foreground (-nd -nap -nt)\n"
    "-label <text>    show the label <text> on the clock\n"
    "-fn <name>       use the font name for the label\n"
    "-lcol <color>    color to use for the label\n"
    "-ltop            the label should go on top\n"
    "-scale <1-8>     draw the clock N times larger, pixel for pixel\n"
    "-smooth          draw the hands anti-aliased\n"
    "-wayland         show the clock on the Wayland display\n"
    "-layer <name>    Wayland layer: background, bottom, top or overlay\n"
    "-output <name>   Wayland output to show the clock on\n"
    "\n";
const std::string UNKNOWN = "tavock: error in tavockrc file, ignoring...\n";
const std::string MISSING0 = "parsercfile: missing param[0]\n";
const std::string MISSING1 = "parsercfile: missing param[1]\n";

// Each test gets a HOME of its own, holding a .tavockrc that prints a
// message when read, so reading it (or not) shows in standard error.
class ConfigProcess : public ::testing::Test {
protected:
    TempDir homeDir;
    std::string home = homeDir.path;
    const std::string homeMessage = MISSING1 + UNKNOWN;

    void SetUp() override { writeFile(home + "/.tavockrc", "fromHome\n"); }

    // Merged: both streams into one pipe, to see their order.
    ProcessResult run(const std::vector<std::string> &options, bool merged = false)
    {
        std::vector<std::string> args{TAVOCK_BINARY};
        if (merged)
            args = {"/bin/sh", "-c", "exec \"$0\" \"$@\" 2>&1", TAVOCK_BINARY};
        args.insert(args.end(), options.begin(), options.end());
        return runProcess(args, {"HOME=" + home});
    }

    std::string file(const std::string &name, const std::string &text)
    {
        std::string path = home + "/" + name;
        writeFile(path, text);
        return path;
    }

    void expect(const ProcessResult &r, const std::string &out, const std::string &err,
                int status, const std::string &what)
    {
        ASSERT_TRUE(r.exited) << what;
        EXPECT_EQ(r.status, status) << what;
        EXPECT_EQ(r.out, out) << what;
        EXPECT_EQ(r.err, err) << what;
    }
};

TEST_F(ConfigProcess, HelpUnknownAndBareWordsPrintBannerAndUsage)
{
    for (const char *arg : {"-h", "-H", "-help", "-x", "--title", "clock", "", "-"})
        expect(run({arg}), BANNER + USAGE, homeMessage, 0, arg);
    // Options before the bad argument are applied silently; the bad one stops.
    expect(run({"-nf", "-title", "x", "oops", "-V"}), BANNER + USAGE, homeMessage, 0, "late");
}

TEST_F(ConfigProcess, VersionPrintsOnlyTheBanner)
{
    for (const char *arg : {"-V", "-Vx", "-Version"})
        expect(run({arg}), BANNER, homeMessage, 0, arg);
}

TEST_F(ConfigProcess, MissingValuePrintsUsageOnly)
{
    for (const char *arg : {"-title", "-u", "-exe", "-lcol", "-ht", "-shift"})
        expect(run({"-nf", arg}), USAGE, homeMessage, 0, arg);
}

TEST_F(ConfigProcess, RcAsLastArgumentReadsNothing)
{
    // The -rc scan comes first: neither the home file nor -h is looked at.
    expect(run({"-rc"}), USAGE, "", 0, "-rc");
    expect(run({"-h", "-rc"}), USAGE, "", 0, "-h -rc");
    expect(run({"-title", "-rc"}), USAGE, "", 0, "-title -rc");
}

TEST_F(ConfigProcess, RcFileChoice)
{
    std::string a = file("a", " #a x\n");   // unknown keyword
    std::string b = file("b", " \t\n");     // missing keyword
    expect(run({"-rc", a, "-rc", b, "-h"}), BANNER + USAGE, MISSING0, 0, "-rc a -rc b");
    expect(run({"-rcx", a, "-h"}), BANNER + USAGE, UNKNOWN, 0, "-rcx");
    // The scan takes -rc as the title's value and reads f; the parser then
    // takes -rc as the title and stops at the bare word f.
    expect(run({"-title", "-rc", b}), BANNER + USAGE, MISSING0, 0, "-title -rc f");
}

TEST_F(ConfigProcess, ResourceMessagesComeBeforeTheUsageText)
{
    std::string f = file("f", "bogus 1\ntitle\n");
    const bool merged = true;
    expect(run({"-rc", f, "-help"}, merged), UNKNOWN + MISSING1 + BANNER + USAGE, "", 0,
           "-rc f -help");
    expect(run({"-u"}, merged), homeMessage + USAGE, "", 0, "home file, -u");
}

TEST_F(ConfigProcess, UnreadableRcFileAndDeadDisplay)
{
    // A display number nobody serves: no socket file, no abstract socket.
    std::string units = readFile("/proc/net/unix");
    int number = 4711;
    for (;; number++) {
        std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        struct stat st;
        if (stat(socket.c_str(), &st) != 0 && units.find(socket + "\n") == std::string::npos)
            break;
    }
    std::string display = ":" + std::to_string(number);
    ProcessResult r = run({"-rc", "/nonexistent", "-display", display});
    expect(r, "tavock : grrrr... can't open display " + display + ". Sorry ...\n",
           "tavock: could not open /nonexistent ...\n", 1, "dead display");
}

}  // namespace
