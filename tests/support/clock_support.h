// The whole clock, set up in the test's own process on the shared Xvfb.
#pragma once

#include <ctime>

// Default settings and hand layers, the time zone tz, the clock read through
// clock, then setupDisplay on the shared display: the first frame is shown
// at clock's reading. False when Xvfb did not start.
bool startDefaultClock(const char *tz, time_t (*clock)(time_t *));

// The time shown and the hand geometry for currentTime, on the clock's
// dial, as a redraw makes them. False when localtime cannot convert it.
bool shownGeometryAtCurrentTime();
