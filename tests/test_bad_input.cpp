// Bad input as a new user would give it: odd resource files, odd HOME,
// enormous arguments, odd geometries, overlong colours. Whatever happens,
// the clock reports what it should and either starts or exits with its
// documented status: never a crash or a signal.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "process.h"
#include "xserver.h"

#include <csignal>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

enum Outcome { STARTS, EXITS_0, EXITS_1 };

struct BadInput {
    const char *name;
    std::vector<std::string> args;  // "$DIR" is replaced by a temp folder
    EnvChanges env;                 // likewise
    Outcome outcome;
    const char *stdoutHas;          // a line the clock must print, or ""
    const char *stderrHas;
};

// Keeps gtest from dumping the record's bytes in test names and failures.
void PrintTo(const BadInput &input, std::ostream *out)
{
    *out << input.name;
}

// What the clock did within a second and a half.
struct Observed {
    bool running = false;
    ProcessResult result;
};

std::string substitute(std::string text, const std::string &dir)
{
    for (size_t at; (at = text.find("$DIR")) != std::string::npos;)
        text.replace(at, 4, dir);
    return text;
}

Observed runBriefly(const BadInput &input, const std::string &dir)
{
    std::vector<std::string> args{TAVOCK_BINARY};
    for (const std::string &a : input.args)
        args.push_back(substitute(a, dir));
    EnvChanges env{"HOME=" + dir, "DISPLAY=" + sharedXDisplay()};
    for (const std::string &e : input.env)
        env.push_back(substitute(e, dir));
    ChildProcess child;
    Observed seen;
    if (!spawnProcess(child, args, env))
        return seen;
    for (int waited = 0; waited < 1500; waited += 50) {
        if (child.poll(seen.result))
            return seen;
        usleep(50000);
    }
    seen.running = true;
    seen.result.out = child.output();
    seen.result.err = child.errors();
    kill(child.pid, SIGTERM);
    child.wait(5000);
    return seen;
}

class BadInputTable : public ::testing::TestWithParam<BadInput> {
protected:
    std::string dir;
    void SetUp() override
    {
        ASSERT_FALSE(sharedXDisplay().empty()) << "Xvfb did not start";
        dir = makeTempDir();
        writeFile(dir + "/empty", "");
        std::string binary;
        for (int i = 0; i < 4096; i++)
            binary += static_cast<char>((i * 7919 + 13) % 256);
        writeFile(dir + "/binary", binary);
        mkdir((dir + "/folder").c_str(), 0755);
    }
    void TearDown() override { removeTempDir(dir); }
};

TEST_P(BadInputTable, ReportsAndStartsOrExitsCleanly)
{
    const BadInput &input = GetParam();
    Observed seen = runBriefly(input, dir);
    const ProcessResult &r = seen.result;
    EXPECT_EQ(r.signal, 0) << "killed by signal " << r.signal << "\n" << r.err;
    switch (input.outcome) {
    case STARTS:
        EXPECT_TRUE(seen.running) << "status " << r.status << "\n" << r.out << r.err;
        break;
    case EXITS_0:
    case EXITS_1:
        EXPECT_FALSE(seen.running);
        EXPECT_TRUE(r.exited);
        EXPECT_EQ(r.status, input.outcome == EXITS_0 ? 0 : 1) << r.out << r.err;
        break;
    }
    EXPECT_NE(r.out.find(substitute(input.stdoutHas, dir)), std::string::npos)
        << "stdout: " << r.out;
    EXPECT_NE(r.err.find(substitute(input.stderrHas, dir)), std::string::npos)
        << "stderr: " << r.err;
}

const std::string huge(10000, 'x');
const std::string colour63 = "#" + std::string(62, 'a');

INSTANTIATE_TEST_SUITE_P(
    Files, BadInputTable,
    ::testing::Values(
        BadInput{"EmptyFile", {"-rc", "$DIR/empty"}, {}, STARTS, "", ""},
        BadInput{"BinaryFile", {"-rc", "$DIR/binary"}, {}, STARTS, "",
                 "tavock: error in tavockrc file, ignoring..."},
        BadInput{"Folder", {"-rc", "$DIR/folder"}, {}, STARTS, "",
                 "tavock: could not open $DIR/folder ...\n"},
        BadInput{"MissingFile", {"-rc", "$DIR/none"}, {}, STARTS, "",
                 "tavock: could not open $DIR/none ...\n"},
        BadInput{"HomeUnset", {}, {"HOME"}, STARTS, "", ""},
        BadInput{"HomeTooLong", {}, {"HOME=/" + std::string(300, 'h')}, STARTS, "", ""},
        BadInput{"HomeIsAFolderNamedLikeTheFile", {}, {"HOME=$DIR/folder/.."}, STARTS, "", ""}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    HugeArguments, BadInputTable,
    ::testing::Values(
        BadInput{"Rc", {"-rc", huge}, {}, STARTS, "", "tavock: could not open "},
        BadInput{"UpdateInterval", {"-u", huge}, {}, STARTS, "", ""},
        BadInput{"Shift", {"-shift", huge}, {}, STARTS, "", ""},
        BadInput{"Geometry", {"-geometry", huge}, {}, STARTS, "", ""},
        BadInput{"Title", {"-title", huge}, {}, STARTS, "", ""},
        BadInput{"Display", {"-display", huge}, {}, EXITS_1, "can't open display", ""},
        BadInput{"Background", {"-bg", huge}, {}, EXITS_0, "not enough free color cells", ""},
        BadInput{"Foreground", {"-fg", huge}, {}, STARTS, "tavock: can't parse", ""},
        BadInput{"Label", {"-label", huge, "-fn", "fixed"}, {}, STARTS, "", ""},
        BadInput{"Font", {"-label", "x", "-fn", huge}, {}, STARTS,
                 "tavock : warning : the label will not be drawn", ""},
        BadInput{"LabelColor", {"-lcol", huge}, {}, STARTS, "tavock: can't parse", ""},
        BadInput{"Second", {"-sec", huge}, {}, STARTS, "tavock: can't parse", ""},
        BadInput{"Minute", {"-min", huge}, {}, STARTS, "tavock: can't parse", ""},
        BadInput{"Hour", {"-hour", huge}, {}, STARTS, "tavock: can't parse", ""},
        BadInput{"Day", {"-day", huge}, {}, EXITS_0, "for day_of_week", ""},
        BadInput{"AMPM", {"-ampm", huge}, {}, EXITS_0, "for AM/PM indicator", ""},
        BadInput{"Date", {"-date", huge}, {}, EXITS_0, "for digits", ""},
        BadInput{"Exe", {"-exe", huge}, {}, STARTS, "", ""},
        BadInput{"HandThickness", {"-ht", huge}, {}, STARTS, "", ""},
        BadInput{"OutThickness", {"-ot", huge, "-fh"}, {}, STARTS, "", ""}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Geometries, BadInputTable,
    ::testing::Values(
        BadInput{"ZeroByZero", {"-geometry", "0x0"}, {}, STARTS, "", ""},
        BadInput{"OneByOne", {"-geometry", "1x1"}, {}, STARTS, "", ""},
        BadInput{"Enormous", {"-geometry", "100000x100000"}, {}, STARTS, "", ""},
        BadInput{"Garbage", {"-geometry", "x-+x+-42garbage"}, {}, STARTS, "", ""},
        BadInput{"FarOffScreen", {"-geometry", "54x54+99999-99999"}, {}, STARTS, "", ""},
        BadInput{"HugeThicknessOnBigDial", {"-geometry", "400x400", "-ht", "65535", "-fh"}, {},
                 STARTS, "", ""}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Colours63, BadInputTable,
    ::testing::Values(
        BadInput{"HandColour", {"-sec", colour63}, {}, STARTS,
                 "tavock: can't parse #aaaaaaaa", ""},
        BadInput{"Background", {"-bg", colour63}, {}, EXITS_0,
                 "not enough free color cells for day_of_week", ""},
        BadInput{"DateColour", {"-date", colour63}, {}, EXITS_0,
                 "not enough free color cells for digits", ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(BadInputAsRoot, UnreadableFileIsReportedOnce)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads any file; nothing to test";
    ASSERT_FALSE(sharedXDisplay().empty());
    std::string dir = makeTempDir();
    writeFile(dir + "/secret", "title x\n");
    chmod((dir + "/secret").c_str(), 0);
    BadInput input{"Unreadable", {"-rc", dir + "/secret"}, {}, STARTS, "",
                   "tavock: could not open "};
    Observed seen = runBriefly(input, dir);
    EXPECT_TRUE(seen.running);
    EXPECT_EQ(seen.result.err, "tavock: could not open " + dir + "/secret ...\n");
    removeTempDir(dir);
}

}  // namespace
