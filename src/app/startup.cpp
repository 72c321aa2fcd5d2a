// Start-up order: defaults, then the resource file (-rc, else ~/.tavockrc),
// then the command line, then the hand layers. Later layers win.
#include "app/startup.h"

#include "config/cmdline.h"
#include "config/rcfile.h"
#include "render/layers.h"
#include "settings/settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

bool defaultRcPath(const char *home, char *out, size_t outSize)
{
    // HOME unset, or too long for the path field: no default file, no message.
    if (!home)
        return false;
    static const char name[] = ".tavockrc";
    size_t len = std::strlen(home);
    bool needSlash = len == 0 || home[len - 1] != '/';
    if (len + (needSlash ? 1 : 0) + sizeof name > outSize)
        return false;
    std::snprintf(out, outSize, "%s%s%s", home, needSlash ? "/" : "", name);
    return true;
}

// The early scan knows only -rc (any argument beginning "-rc"), so it also
// looks at values of other options; the last -rc wins.
static bool scanForRcOption(int argc, char **argv)
{
    bool found = false;
    for (int i = 1; i < argc; i++) {
        if (std::strncmp(argv[i], "-rc", 3) != 0)
            continue;
        if (i == argc - 1)
            printUsage();
        boundedCopy(settings.rcPath, argv[i + 1], COMMAND_COPY_SIZE);
        found = true;
        i++;
    }
    return found;
}

static void readResourceFile(bool reportFailure)
{
    FILE *file = std::fopen(settings.rcPath, "r");
    // A folder opens for reading but has no lines: say so rather than
    // pretend an empty resource file was read.
    struct stat status;
    if (file && fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fclose(file);
        file = nullptr;
    }
    if (!file) {
        if (reportFailure)
            std::fprintf(stderr, "tavock: could not open %s ...\n", settings.rcPath);
        return;
    }
    parsercfile(file);
    std::fclose(file);
}

bool waylandChosen(int waylandAsked, const char *displayName, const char *xDisplay,
                   const char *waylandDisplay)
{
    if (waylandAsked)
        return true;
    // Empty names count as unset, as an empty -display does on X.
    return !*displayName && (!xDisplay || !*xDisplay) && waylandDisplay && *waylandDisplay;
}

void startUp(int argc, char **argv)
{
    setDefaults();
    if (argc > 1 && scanForRcOption(argc, argv))
        readResourceFile(true);
    else if (defaultRcPath(std::getenv("HOME"), settings.rcPath, sizeof settings.rcPath))
        readResourceFile(false);
    // Resource-file messages go out before anything the command line prints.
    std::fflush(stderr);
    parseCommandLine(argc, argv);
    deriveHandLayers();
}
