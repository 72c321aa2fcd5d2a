// The user documentation against the program: the example resource file
// sets nothing yet offers a valid line for every keyword, the manual page
// documents every option and keyword, renders without warnings and its
// examples really start a clock, the install rules put everything in place,
// and the banner, the project and the Debian package carry one version.
#include <gtest/gtest.h>

#include "config/rcfile.h"
#include "process.h"
#include "settings_support.h"
#include "settings/settings.h"
#include "xserver.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string sourceDir = TAVOCK_SOURCE_DIR;
const std::string examplePath = sourceDir + "/doc/tavockrc.example";
const std::string manPath = sourceDir + "/tavock.1";

std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A commented-out setting is "#keyword value"; an explanation is "# text"
// or a lone "#".
bool isCommentedSetting(const std::string &line)
{
    return line.size() > 1 && line[0] == '#' && std::isalpha(static_cast<unsigned char>(line[1]));
}

std::string keywordOf(const std::string &settingLine)
{
    std::string rest = settingLine.substr(1);
    return rest.substr(0, rest.find_first_of(" \t"));
}

std::set<std::string> knownKeywords()
{
    std::set<std::string> keywords;
    for (int i = 0; i < rcKeywordCount; i++)
        keywords.insert(rcKeywords[i].keyword);
    return keywords;
}

// The lines of one manual page section, from its .SH line to the next one.
std::vector<std::string> manSection(const std::string &name)
{
    std::vector<std::string> section;
    bool inside = false;
    for (const std::string &line : splitLines(readFile(manPath))) {
        if (line.rfind(".SH ", 0) == 0) {
            inside = line == ".SH " + name || line == ".SH \"" + name + "\"";
            continue;
        }
        if (inside)
            section.push_back(line);
    }
    return section;
}

// Turns roff text of a literal block back into what the reader types.
std::string unescapeRoff(const std::string &line)
{
    std::string out;
    for (size_t i = 0; i < line.size(); i++) {
        if (line[i] != '\\' || i + 1 == line.size()) {
            out += line[i];
            continue;
        }
        char next = line[i + 1];
        if (next == '-' || next == 'e') {
            out += next == '-' ? '-' : '\\';
            i++;
        } else if (next == '&') {
            i++;
        } else if (line.compare(i, 4, "\\(dq") == 0) {
            out += '"';
            i += 3;
        } else {
            out += line[i];
        }
    }
    return out;
}

// The lines of every block between a start and an end request.
std::vector<std::string> literalBlocks(const std::vector<std::string> &lines, const char *start,
                                       const char *end)
{
    std::vector<std::string> found;
    bool inside = false;
    for (const std::string &line : lines) {
        if (line == start)
            inside = true;
        else if (line == end)
            inside = false;
        else if (inside)
            found.push_back(unescapeRoff(line));
    }
    return found;
}

// Shell words with single and double quotes, enough for the examples.
std::vector<std::string> shellWords(const std::string &line)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (char ch : line) {
        if (quote) {
            if (ch == quote)
                quote = 0;
            else
                word += ch;
        } else if (ch == '"' || ch == '\'') {
            quote = ch;
            inWord = true;
        } else if (ch == ' ' || ch == '\t') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += ch;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

bool findInPath(const std::string &program, std::string &path)
{
    const char *env = std::getenv("PATH");
    std::istringstream dirs(env ? env : "/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        std::string candidate = dir + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) {
            path = candidate;
            return true;
        }
    }
    return false;
}

TEST(ExampleFile, EveryLineIsACommentAndTheFileEndsWithANewline)
{
    std::string text = readFile(examplePath);
    ASSERT_FALSE(text.empty()) << examplePath;
    EXPECT_EQ(text.back(), '\n');
    for (const std::string &line : splitLines(text)) {
        if (line.empty())
            continue;
        ASSERT_EQ(line[0], '#') << "not commented out: " << line;
        // Only the two kinds, so that uncommenting is never ambiguous.
        EXPECT_TRUE(line == "#" || line[1] == ' ' || isCommentedSetting(line)) << line;
    }
}

TEST(ExampleFile, AsShippedChangesNoSettingAndPrintsNothing)
{
    freshSettings();
    ClockSettings defaults = settings;
    std::string errors = parseRcCapturingErrors(readFile(examplePath));
    EXPECT_EQ(errors, "");
    EXPECT_EQ(std::memcmp(&settings, &defaults, sizeof settings), 0)
        << "the example file changed a setting";
    EXPECT_EQ(settings.alarmCount, 0);
}

TEST(ExampleFile, HasOneSettingLineForEachKeyword)
{
    std::multiset<std::string> seen;
    for (const std::string &line : splitLines(readFile(examplePath)))
        if (isCommentedSetting(line))
            seen.insert(keywordOf(line));
    std::set<std::string> known = knownKeywords();
    EXPECT_EQ(known.size(), 45u);
    for (const std::string &keyword : known)
        EXPECT_EQ(seen.count(keyword), 1u) << keyword;
    for (const std::string &keyword : seen)
        EXPECT_TRUE(known.count(keyword)) << "not a keyword: " << keyword;
}

// Uncommenting any one setting must give a line the parser takes without a
// message, and that really changes something (so no line is a silent no-op
// that a user would wonder about).
TEST(ExampleFile, EachSettingUncommentedAloneIsValidAndTakesEffect)
{
    std::vector<std::string> lines = splitLines(readFile(examplePath));
    int tried = 0;
    for (size_t i = 0; i < lines.size(); i++) {
        if (!isCommentedSetting(lines[i]))
            continue;
        std::string text;
        for (size_t k = 0; k < lines.size(); k++)
            text += (k == i ? lines[k].substr(1) : lines[k]) + "\n";
        freshSettings();
        ClockSettings defaults = settings;
        EXPECT_EQ(parseRcCapturingErrors(text), "") << lines[i];
        EXPECT_NE(std::memcmp(&settings, &defaults, sizeof settings), 0)
            << "uncommented, this line changes nothing: " << lines[i];
        tried++;
    }
    EXPECT_EQ(tried, 45);
}

TEST(ExampleFile, CommandLinesStoreWhatTheyShow)
{
    std::string text;
    for (const std::string &line : splitLines(readFile(examplePath)))
        if (isCommentedSetting(line) && (keywordOf(line) == "execProg" || keywordOf(line) == "at"))
            text += line.substr(1) + "\n";
    freshSettings();
    EXPECT_EQ(parseRcCapturingErrors(text), "");
    EXPECT_STREQ(settings.execProg, "xterm &");
    EXPECT_EQ(settings.execGiven, 1);
    ASSERT_EQ(settings.alarmCount, 1);
    EXPECT_EQ(settings.alarms[0]->hour, 7);
    EXPECT_EQ(settings.alarms[0]->minute, 30);
    EXPECT_EQ(settings.alarms[0]->second, 0);
    EXPECT_STREQ(settings.alarms[0]->command, "xmessage -center Good morning &");
}

// Every .nf block of the manual page shows resource-file lines; each must be
// taken without a message.
TEST(ManualPage, ResourceFileSnippetsParseCleanly)
{
    std::vector<std::string> snippet = literalBlocks(splitLines(readFile(manPath)), ".nf", ".fi");
    ASSERT_GE(snippet.size(), 8u);
    std::string text;
    for (const std::string &line : snippet)
        text += line + "\n";
    freshSettings();
    EXPECT_EQ(parseRcCapturingErrors(text), "") << text;
    EXPECT_EQ(settings.fancyHands, 1);
    EXPECT_GE(settings.alarmCount, 2);
}

// Whatever the parser says about a bad line is listed, word for word, under
// the resource file's messages.
TEST(ManualPage, ListsEveryResourceFileMessage)
{
    std::string page;
    for (const std::string &line : manSection("RESOURCE FILE"))
        page += unescapeRoff(line) + "\n";
    const std::vector<std::string> inputs = {
        "colour red\n",                                     // unknown keyword
        " \t\n",                                            // blanks only
        "title\n",                                          // no value
        "execProg xterm\n",                                 // unquoted command
        "at 07:30 \"xterm\"\n",                             // a time field missing
        "background " + std::string(120, 'a') + "\n",       // overlong value
    };
    for (const std::string &input : inputs) {
        freshSettings();
        std::string errors = parseRcCapturingErrors(input);
        ASSERT_FALSE(errors.empty()) << input;
        for (const std::string &message : splitLines(errors))
            EXPECT_NE(page.find(".B \"" + message + "\""), std::string::npos)
                << "undocumented message: " << message;
    }
}

TEST(ManualPage, DocumentsEveryOptionAndKeyword)
{
    std::string options;
    for (const std::string &line : manSection("OPTIONS"))
        options += line + "\n";
    // -H and -help share the item of -h.
    const char *names[] = {"V",        "h",         "rc",     "u",        "exe",
                           "display",  "geometry",  "withdrawn", "iconic", "standout",
                           "noborder", "shift",     "title",  "bg",       "fg",
                           "sec",      "min",       "hour",   "day",      "ampm",
                           "date",     "ns",        "nd",     "nap",      "nt",
                           "at",       "fs",        "ts",     "fh",       "oh",
                           "nh",       "ht",        "ot",     "nf",       "label",
                           "fn",       "lcol",      "ltop",   "scale",    "smooth"};
    for (const char *name : names) {
        // Each option heads an item of its own: ".B \-ns" or ".BI \-u " ...
        std::regex item("\\n\\.(B|BI|BR) \\\\-" + std::string(name) + "( |\\n)");
        EXPECT_TRUE(std::regex_search(options, item)) << "-" << name;
    }

    std::string keywords;
    for (const std::string &line : manSection("RESOURCE FILE"))
        keywords += line + "\n";
    for (const std::string &keyword : knownKeywords()) {
        std::regex item("\\n\\.BI? " + keyword + "( |\\n)");
        EXPECT_TRUE(std::regex_search(keywords, item)) << keyword;
    }
}

TEST(ManualPage, CarriesTheProjectVersion)
{
    std::string text = readFile(manPath);
    EXPECT_NE(text.find("\"tavock " TAVOCK_VERSION "\""), std::string::npos);
    EXPECT_NE(text.find("version " TAVOCK_VERSION), std::string::npos);
}

// One version everywhere: the banner, the project's and the Debian
// package's, from the first line of its changelog.
TEST(Version, BannerProjectAndPackageAgree)
{
    ProcessResult banner = runProcess({TAVOCK_BINARY, "-V"});
    EXPECT_EQ(banner.out, "tavock : Wendmoor analog clock version " TAVOCK_VERSION "\n");
    std::string changelog = readFile(sourceDir + "/debian/changelog");
    std::smatch entry;
    ASSERT_TRUE(std::regex_search(changelog, entry, std::regex("^tavock \\(([^)]*)\\) ")))
        << changelog;
    EXPECT_EQ(entry[1].str(), TAVOCK_VERSION);
}

TEST(ManualPage, RendersWithoutWarnings)
{
    std::string groff;
    if (!findInPath("groff", groff))
        GTEST_SKIP() << "groff is not installed";
    ProcessResult r = runProcess({groff, "-ww", "-z", "-man", manPath});
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

// Each line between .EX and .EE under EXAMPLES is a command: NAME=value
// words, then tavock and its arguments, perhaps a trailing &.
struct ExampleCommand {
    std::string line;
    EnvChanges env;
    std::vector<std::string> args;
};

std::vector<ExampleCommand> manExamples()
{
    std::vector<ExampleCommand> commands;
    for (const std::string &line : literalBlocks(manSection("EXAMPLES"), ".EX", ".EE")) {
        ExampleCommand command;
        command.line = line;
        std::vector<std::string> words = shellWords(line);
        if (!words.empty() && words.back() == "&")
            words.pop_back();
        size_t i = 0;
        while (i < words.size() && words[i].find('=') != std::string::npos)
            command.env.push_back(words[i++]);
        if (i < words.size() && words[i] == "tavock") {
            command.args.push_back(TAVOCK_BINARY);
            command.args.insert(command.args.end(), words.begin() + i + 1, words.end());
        }
        commands.push_back(command);
    }
    return commands;
}

TEST(ManualPage, ExamplesStartAClock)
{
    std::vector<ExampleCommand> examples = manExamples();
    ASSERT_GE(examples.size(), 5u);
    const std::string &display = sharedXDisplay();
    if (display.empty())
        GTEST_SKIP() << "Xvfb could not be started";
    std::string home = makeTempDir();

    // All at once on the same server, as a user would start several clocks.
    std::vector<ChildProcess> children(examples.size());
    for (size_t i = 0; i < examples.size(); i++) {
        ASSERT_FALSE(examples[i].args.empty()) << "not a tavock command: " << examples[i].line;
        EnvChanges env = {"DISPLAY=" + display, "HOME=" + home};
        env.insert(env.end(), examples[i].env.begin(), examples[i].env.end());
        ASSERT_TRUE(spawnProcess(children[i], examples[i].args, env)) << examples[i].line;
    }
    usleep(1200 * 1000);
    for (size_t i = 0; i < examples.size(); i++) {
        ProcessResult r;
        if (children[i].poll(r)) {
            // Only a clean end is acceptable, never a signal.
            EXPECT_TRUE(r.exited) << examples[i].line << ": signal " << r.signal;
            EXPECT_EQ(r.status, 0) << examples[i].line;
        } else {
            r = children[i].wait(0);  // still running, as it should: stop it
        }
        EXPECT_EQ(r.out.find("Usage"), std::string::npos) << examples[i].line << "\n" << r.out;
        EXPECT_EQ(r.err, "") << examples[i].line;
        EXPECT_EQ(r.out.find("can't"), std::string::npos) << examples[i].line << "\n" << r.out;
    }
    rmdir(home.c_str());
}

TEST(Install, PutsProgramManualPageAndExampleInPlace)
{
    std::string prefix = makeTempDir();
    ProcessResult r = runProcess(
        {TAVOCK_CMAKE_COMMAND, "--install", TAVOCK_BUILD_DIR, "--prefix", prefix}, {}, 60000);
    ASSERT_TRUE(r.exited) << r.err;
    ASSERT_EQ(r.status, 0) << r.out << r.err;

    struct stat st;
    ASSERT_EQ(stat((prefix + "/bin/tavock").c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IXUSR);
    EXPECT_EQ(readFile(prefix + "/share/man/man1/tavock.1"), readFile(manPath));
    EXPECT_EQ(readFile(prefix + "/share/doc/tavock/tavockrc.example"), readFile(examplePath));
    std::string completionsDir = TAVOCK_COMPLETIONSDIR;
    if (completionsDir[0] != '/') {  // else outside any prefix: not ours to check
        EXPECT_EQ(readFile(prefix + "/" + completionsDir + "/tavock"),
                  readFile(sourceDir + "/completion/tavock.bash"));
    }

    // The installed program is the one that was built.
    ProcessResult installed = runProcess({prefix + "/bin/tavock", "-V"});
    ProcessResult built = runProcess({TAVOCK_BINARY, "-V"});
    EXPECT_EQ(installed.out, built.out);
#if TAVOCK_HAVE_WAYLAND
    // It finds its Wayland module under the prefix: without a compositor it
    // gets as far as the connection.
    ProcessResult tile = runProcess({prefix + "/bin/tavock", "-wayland"},
                                    {"WAYLAND_DISPLAY=tavock-no-such-display"});
    EXPECT_EQ(tile.err, "tavock: cannot connect to the Wayland display\n");
    EXPECT_EQ(tile.status, 1);
#endif

    runProcess({"/bin/rm", "-rf", prefix});
}

}  // namespace
