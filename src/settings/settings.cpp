// The settings record, its built-in defaults, the shared rules and
// boundedCopy.
#include "settings/settings.h"

#include <cstring>
#include <initializer_list>

const char NOT_GIVEN_MARKER[] = "<>";

// pushedIn starts at 1 even before setDefaults runs.
ClockSettings settings = [] {
    ClockSettings s{};
    s.pushedIn = 1;
    return s;
}();

bool overrideGiven(const char *field)
{
    return std::strcmp(field, NOT_GIVEN_MARKER) != 0;
}

void boundedCopy(char *dst, const char *src, int n)
{
    if (n < 1)
        return;
    dst[n - 1] = '\0';
    size_t len = std::strlen(src);
    if (len < static_cast<size_t>(n)) {
        std::memcpy(dst, src, len + 1);
    } else {
        std::memcpy(dst, src, static_cast<size_t>(n) - 1);
    }
}

void setFancyHands()
{
    settings.fancyHands = 1;
    if (!settings.handThicknessGiven)
        settings.handThickness = 5;
}

void clearForeground()
{
    settings.drawDayDate = 0;
    settings.drawAMPM = 0;
    settings.drawTicks = 0;
}

void setDefaults()
{
    ClockSettings &s = settings;
    s.withdrawn = 0;
    s.iconic = 0;
    s.noborder = 0;
    boundedCopy(s.title, "tavock");
    boundedCopy(s.displayName, "");
    boundedCopy(s.geometry, "");
    s.updateInterval = 1;
    s.drawSecondHand = 1;
    s.drawDayDate = 1;
    s.drawAMPM = 1;
    s.drawTicks = 1;
    s.floatSeconds = 0;
    s.thinSeconds = 0;
    s.handThickness = 1;
    s.outThickness = 1;
    s.neonHands = 0;
    for (HandLayers &l : s.handLayers)
        l = HandLayers{0, 0, 0};
    s.windowWidth = 54;
    s.windowHeight = 54;
    s.shift = 0;
    s.execGiven = 0;
    s.alarmsGiven = 0;
    boundedCopy(s.background, "#385971");
    boundedCopy(s.foreground, "#ffffff");
    boundedCopy(s.secondColor, "#efc669");
    boundedCopy(s.minuteColor, "#ff3030");
    boundedCopy(s.hourColor, "#ef3838");
    for (char *field : {s.secondOutColor, s.minuteOutColor, s.hourOutColor,
                        s.secondFillColor, s.minuteFillColor, s.hourFillColor})
        boundedCopy(field, NOT_GIVEN_MARKER, sizeof s.secondOutColor);
    boundedCopy(s.dayColor, "#a0a0a0");
    boundedCopy(s.AMPMColor, "#a0a0a0");
    boundedCopy(s.dateColor, "#a0a0a0");
    s.labelOn = 0;
    s.LabelTop = 0;
    boundedCopy(s.Label, "tavock");
    boundedCopy(s.Font, "-*-helvetica-medium-r-*-*-9-240-*-*-*-*-*-*");
    boundedCopy(s.LabelColor, "#a0a0a0");
    boundedCopy(s.execProg, "echo tavock: No program specified.", COMMAND_COPY_SIZE);
    s.alarms = nullptr;
    s.alarmCount = 0;
    s.pushedIn = 1;
    s.scale = 1;
    s.smooth = 0;
    s.wayland = 0;
    boundedCopy(s.layer, "");
    boundedCopy(s.output, "");
}
