// checkAlarms runs each `at` command once when the time of the last redraw
// reaches it (reading the time shown); runClickCommand the click command.
#include "interaction/commands.h"

#include "clock/state.h"
#include "settings/settings.h"

#include <cstdio>
#include <cstdlib>

void checkAlarms()
{
    // No usable local time for the last redraw (localtime failed, or no
    // redraw yet): nothing can match, and the fired states are left alone.
    if (!shownTime)
        return;
    const int hour = shownTime->tm_hour;
    const int minute = shownTime->tm_min;
    const int second = shownTime->tm_sec;

    for (int i = 0; i < settings.alarmCount; i++) {
        AlarmEntry *alarm = settings.alarms[i];
        if (alarm->hour != hour || alarm->minute != minute)
            continue;
        if (alarm->second != second) {
            alarm->fired = 0;
            continue;
        }
        if (alarm->fired)
            continue;
        // Set before the command runs: the entry counts as fired even when
        // the shell cannot run it, and the same record never runs it twice.
        alarm->fired = 1;
        std::fflush(stdout);  // the clock's own output stays ahead of the command's
        // Its exit status is not looked at: the entry stays fired either way.
        [[maybe_unused]] int status = std::system(alarm->command);
    }
}

void runClickCommand()
{
    std::fflush(stdout);  // keep our own output ahead of the command's
    // Synchronous; its exit status is not looked at.
    [[maybe_unused]] int status = std::system(settings.execProg);
}
