// The click command, run the same way from the X clock and the tile.
#include "interaction/click.h"

#include "settings/settings.h"

#include <cstdio>
#include <cstdlib>

void runClickCommand()
{
    std::fflush(stdout);  // keep our own output ahead of the command's
    // Synchronous; its exit status is not looked at.
    [[maybe_unused]] int status = std::system(settings.execProg);
}
