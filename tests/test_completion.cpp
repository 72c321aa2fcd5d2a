// The bash completion script, loaded in a real bash: it offers every option
// of the program's usage text, and for an option's value files, the usual
// display, colour names from showrgb and fonts from xlsfonts, or nothing.
#include <gtest/gtest.h>

#include "process.h"

#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const std::string scriptPath = std::string(TAVOCK_SOURCE_DIR) + "/completion/tavock.bash";

using Words = std::vector<std::string>;
using Candidates = std::set<std::string>;

Candidates linesOf(const std::string &text)
{
    Candidates lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.insert(line);
    return lines;
}

// What Tab offers for the last of `words` (the word being typed, perhaps
// empty), called as bash calls it: COMP_WORDS, COMP_CWORD and COMP_LINE set,
// then the function that `complete -p tavock` names.
Candidates complete(const Words &words, const std::string &path)
{
    const char *driver =
        "source \"$1\" || exit 3; shift\n"
        "COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); COMP_LINE=\"$*\"\n"
        "COMP_POINT=${#COMP_LINE}\n"
        "registered=$(complete -p tavock) || exit 4\n"
        "function=${registered#*-F }; function=${function%% *}\n"
        "\"$function\" tavock \"${COMP_WORDS[COMP_CWORD]}\" \"${COMP_WORDS[COMP_CWORD - 1]}\"\n"
        "printf '%s\\n' \"${COMPREPLY[@]}\"\n";
    Words args = {"/bin/bash", "--norc", "--noprofile", "-c", driver, "bash", scriptPath};
    args.insert(args.end(), words.begin(), words.end());
    ProcessResult r = runProcess(args, {"PATH=" + path});
    EXPECT_TRUE(r.exited && r.status == 0) << r.err;
    EXPECT_EQ(r.err, "");
    Candidates offered = linesOf(r.out);
    offered.erase("");  // printf's line for an empty COMPREPLY
    return offered;
}

// The options of the usage text: the words that start its option lines,
// up to the first one that is neither an option nor a <value>.
Candidates usageOptions()
{
    ProcessResult r = runProcess({TAVOCK_BINARY, "-h"});
    Candidates options;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        for (std::string word; words >> word && (word[0] == '-' || word[0] == '<');)
            if (word[0] == '-')
                options.insert(word);
    }
    return options;
}

// Stand-ins for the X utilities, so that the answers do not depend on what
// the machine has: showrgb prints a small colour database, xlsfonts the
// arguments it was given, a line each.
struct StubTools {
    TempDir dir;
    std::string path = dir.path + ":/usr/bin:/bin";
    StubTools()
    {
        writeTool("showrgb", "printf '248 248 255\\t\\tghost white\\n248 248 255\\t\\tGhostWhite\\n"
                             "255   0   0\\t\\tred\\n'");
        writeTool("xlsfonts", "printf '%s\\n' \"$@\"");
        writeFile(dir.path + "/tavockrc", "");
        writeFile(dir.path + "/tavockrc.old", "");
        writeFile(dir.path + "/other", "");
    }
    void writeTool(const std::string &name, const std::string &body)
    {
        writeFile(dir.path + "/" + name, "#!/bin/sh\n" + body + "\n");
        chmod((dir.path + "/" + name).c_str(), 0755);
    }
};

TEST(Completion, OffersEveryOptionOfTheUsageText)
{
    Candidates usage = usageOptions();
    ASSERT_GE(usage.size(), 35u) << "the usage text was not read";
    StubTools tools;
    Candidates offered = complete({"tavock", ""}, tools.path);
    for (const std::string &option : usage)
        EXPECT_EQ(offered.count(option), 1u) << option;
    // Options the usage text leaves out, or that it gains in time.
    for (const char *option : {"-oh", "-scale", "-smooth"})
        EXPECT_EQ(offered.count(option), 1u) << option;
}

TEST(Completion, ValuesAndPrefixes)
{
    StubTools tools;
    const std::string &d = tools.dir.path;
    struct {
        Words words;
        Candidates expected;
    } cases[] = {
        {{"tavock", "-ge"}, {"-geometry"}},
        {{"tavock", "-fh", "-n"}, {"-ns", "-nd", "-nap", "-nt", "-nh", "-nf", "-noborder"}},
        {{"tavock", "-rc", d + "/tavo"}, {d + "/tavockrc", d + "/tavockrc.old"}},
        {{"tavock", "-display", ""}, {":0"}},
        // A typed colon is a word of its own for readline.
        {{"tavock", "-display", ":"}, {"0"}},
        {{"tavock", "-bg", ""}, {"GhostWhite", "red"}},
        {{"tavock", "-lcol", "Gh"}, {"GhostWhite"}},
        {{"tavock", "-fn", "-misc"}, {"-fn", "-misc*"}},
        {{"tavock", "-display", ":5", "-fn", ""}, {"-display", ":5", "-fn", "*"}},
        // Numbers, geometries and text: nothing, not the option list.
        {{"tavock", "-u", ""}, {}},
        {{"tavock", "-scale", ""}, {}},
        {{"tavock", "-geometry", ""}, {}},
        {{"tavock", "-label", "-"}, {}},
    };
    for (const auto &c : cases) {
        std::string line;
        for (const std::string &word : c.words)
            line += "[" + word + "]";
        EXPECT_EQ(complete(c.words, tools.path), c.expected) << line;
    }
}

TEST(Completion, WithoutTheXUtilitiesValuesCompleteToNothing)
{
    TempDir empty;
    EXPECT_EQ(complete({"tavock", "-fg", ""}, empty.path), Candidates{});
    EXPECT_EQ(complete({"tavock", "-fn", ""}, empty.path), Candidates{});
}

}  // namespace
