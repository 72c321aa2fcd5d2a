// The clock state shared by the loop, the drawing and the alarms, and the
// one place where a reading becomes the time shown.
#include "clock/state.h"

time_t currentTime;
time_t lastRedrawTime;
int redrawPending;
time_t (*clockSource)(time_t *) = time;
struct tm *shownTime = nullptr;
bool zoneWatched = false;
bool zoneChanged = false;

int shiftedHour(int hour, int shift)
{
    if (shift == 0)
        return hour;
    int h = hour + shift;
    if (h >= 24)
        h %= 24;
    while (h < 0)
        h += 24;
    return h;
}

// localtime() would re-read the time zone (a stat of /etc/localtime) on
// every call, which is a good part of what an idle clock costs a second.
// Where the loop watches the zone file it is read again only when the file
// changed; elsewhere once a minute, which still follows a change of the
// system's zone within that minute.
static struct tm shownRecord;
static time_t zoneCheckedMinute = -1;

struct tm *updateShownTime(time_t reading, int shift)
{
    time_t minute = reading / 60;
    if (zoneWatched ? zoneChanged : minute != zoneCheckedMinute) {
        tzset();
        zoneCheckedMinute = minute;
        zoneChanged = false;
    }
    shownTime = localtime_r(&reading, &shownRecord);
    if (shownTime && shift != 0)
        shownTime->tm_hour = shiftedHour(shownTime->tm_hour, shift);
    return shownTime;
}
