// The failure lines of set-up, for either screen.
#include "render/messages.h"

#include "render/indicators.h"

#include <cstdio>

void reportLabelFontFailure(const char *font)
{
    std::printf("tavock : failed to load font %s\n", font);
    std::printf("tavock : warning : the label will not be drawn\n");
    std::fflush(stdout);
}

void reportSheetFailure(int status, int kind)
{
    std::printf("tavock : (%d) not enough free color cells for %s.\n", status,
                spriteSheetKinds[kind].what);
    std::fflush(stdout);
}
