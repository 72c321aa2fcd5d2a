// The whole clock, set up in the test's own process on the shared Xvfb.
#pragma once

#include <ctime>

// The clock the tests set: with clockSource = fakeClock the program reads
// whatever fakeNow holds.
extern time_t fakeNow;
time_t fakeClock(time_t *out);

// Default settings and hand layers, the time zone tz, the fake clock at
// reading, then setupDisplay on the shared display: the first frame is shown
// at that reading. False when Xvfb did not start.
bool startDefaultClock(const char *tz, time_t reading);

// The time shown and the hand geometry for currentTime, on the clock's
// dial, as a redraw makes them. False when localtime cannot convert it.
bool shownGeometryAtCurrentTime();
