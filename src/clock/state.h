// The tick's clock state: the reading of the current tick and of the last
// redraw, the frames not yet shown, where the wall clock is read, and the
// time the clock shows. The loop writes it; drawing and the alarms read it.
#pragma once

#include <ctime>

extern time_t currentTime;      // clock reading of the current tick
extern time_t lastRedrawTime;   // clock reading of the last redraw
extern int redrawPending;       // frames or exposures not yet copied

// Where the wall clock is read; time() unless a caller points it elsewhere.
extern time_t (*clockSource)(time_t *);

// The broken-down local time of the last redraw with its hour shifted: the
// time the hands and indicators show and the alarms are matched against.
// Null until the first redraw, and after a reading that localtime could not
// convert.
extern struct tm *shownTime;

// Set by the loop: whether it is told when the system's time zone file
// changes (zoneWatched), and that it did (zoneChanged, cleared once the zone
// has been read again). Unwatched, the zone is read again once a minute.
extern bool zoneWatched;
extern bool zoneChanged;

// Turns reading into shownTime, the hour moved by shift hours. Returns
// shownTime: null when localtime cannot convert the reading.
struct tm *updateShownTime(time_t reading, int shift);

// The hour moved by shift hours, kept within 0..23.
int shiftedHour(int hour, int shift);
