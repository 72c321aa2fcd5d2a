// STUB: replaced by the display set-up implementation.
#include "display/setup.h"
#include <cstdio>
#include <cstdlib>
ClockDisplay clockDisplay;
void setupDisplay(int, char **, const char *, const char *displayName, const char *, int, int,
                  int, int)
{
    clockDisplay.display = XOpenDisplay(displayName);
    if (!clockDisplay.display) {
        std::printf("tavock : grrrr... can't open display %s. Sorry ...\n", XDisplayName(displayName));
        std::exit(1);
    }
}
