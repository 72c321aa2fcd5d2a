// moduleEntry: where the separately built parts are found, relative to the
// executable, so that a build tree, `make install PREFIX=...` and the
// Debian package all find their own.
#include "app/modules.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

#ifndef TAVOCK_MODULE_SUBDIR
#define TAVOCK_MODULE_SUBDIR "../lib/tavock"
#endif

// The executable's folder, with a slash, into folder (PATH_MAX bytes).
static bool executableFolder(char *folder)
{
    ssize_t length = readlink("/proc/self/exe", folder, PATH_MAX - 1);
    if (length <= 0)
        return false;
    folder[length] = '\0';
    char *slash = std::strrchr(folder, '/');
    if (!slash)
        return false;
    slash[1] = '\0';
    return true;
}

void *moduleEntry(const char *file, const char *entry, void **handle)
{
    *handle = nullptr;
    if (void *linkedIn = dlsym(RTLD_DEFAULT, entry))
        return linkedIn;
    char folder[PATH_MAX], path[PATH_MAX + 64];
    const char *reason = "not found";
    // Beside the executable in a build tree; under the library folder once
    // installed.
    const char *places[2] = {"", TAVOCK_MODULE_SUBDIR "/"};
    const bool haveFolder = executableFolder(folder);
    for (int i = 0; haveFolder && i < 2; i++) {
        std::snprintf(path, sizeof path, "%s%s%s", folder, places[i], file);
        if (access(path, R_OK) != 0)
            continue;
        *handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        void *found = *handle ? dlsym(*handle, entry) : nullptr;
        if (found)
            return found;
        reason = dlerror();
        closeModule(*handle);
        *handle = nullptr;
        break;
    }
    std::fprintf(stderr, "tavock: cannot load %s (%s)\n", file, reason ? reason : "not found");
    return nullptr;
}

void closeModule(void *handle)
{
    if (handle)
        dlclose(handle);
}
