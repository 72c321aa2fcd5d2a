// Checks shared by the fuzz targets: every text field of the settings must
// stay terminated within its size, whatever the input was.
#pragma once

#include "settings/settings.h"

#include <cstdlib>
#include <cstring>

inline void requireTerminated(const char *field, size_t size)
{
    if (!std::memchr(field, '\0', size))
        __builtin_trap();
}

inline void requireSaneSettings()
{
    const ClockSettings &s = settings;
    const char *fields64[] = {s.title, s.displayName, s.geometry, s.background, s.foreground,
                              s.secondColor, s.minuteColor, s.hourColor, s.secondOutColor,
                              s.minuteOutColor, s.hourOutColor, s.secondFillColor,
                              s.minuteFillColor, s.hourFillColor, s.dayColor, s.AMPMColor,
                              s.dateColor, s.LabelColor};
    for (const char *f : fields64)
        requireTerminated(f, 64);
    requireTerminated(s.rcPath, 256);
    requireTerminated(s.Label, 256);
    requireTerminated(s.Font, 256);
    requireTerminated(s.execProg, 256);
    if (s.shift < -23 || s.shift > 23 || s.updateInterval < 1 || s.scale < 1 || s.scale > 8)
        __builtin_trap();
    if (s.alarmCount < 0 || (s.alarmCount > 0 && !s.alarms))
        __builtin_trap();
    for (int i = 0; i < s.alarmCount; i++)
        requireTerminated(s.alarms[i]->command, sizeof s.alarms[i]->command);
}

// The program keeps its alarms for the whole run; a fuzz run starts over
// for every input, so it hands them back here.
inline void releaseAlarms()
{
    for (int i = 0; i < settings.alarmCount; i++)
        std::free(settings.alarms[i]);
    std::free(settings.alarms);
    settings.alarms = nullptr;
    settings.alarmCount = 0;
}
