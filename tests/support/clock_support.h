// The whole clock, set up in the test's own process on the shared Xvfb.
#pragma once

#include "image_support.h"
#include "render/geometry.h"

#include <ctime>
#include <string>
#include <vector>

// Friday 15 March 2024, 00:00:00 UTC: the day of the worked examples.
const time_t MARCH_15_2024 = 1710460800;

// A time the pixel tests show, as faketime -f reads it in TZ=UTC (a time
// that stands still) and as a reading.
struct FixedTime {
    const char *text;
    time_t reading;
};

// Friday 15 March 2024, 14:05:09 UTC, and Sunday 31 December 2023, 22:47:38.
extern const FixedTime frameTimes[2];

// The clock the tests set: with clockSource = fakeClock the program reads
// whatever fakeNow holds.
extern time_t fakeNow;
time_t fakeClock(time_t *out);

// Hand layers from the settings as they stand, then setupDisplay on the
// display named, with args as the command line, and the first frame shown.
void startClock(const std::string &display, std::vector<std::string> args = {"tavock"});

// Default settings, the time zone tz and the fake clock at reading, then
// startClock on the shared display. False when Xvfb did not start.
bool startDefaultClock(const char *tz, time_t reading);

// The time shown and the hand geometry for currentTime, on the clock's
// dial, as a redraw makes them. False when localtime cannot convert it.
bool shownGeometryAtCurrentTime();

// The same at hh:mm:ss UTC on 15 March 2024, with the hand shape of the
// settings as they stand.
bool shownGeometryAt(int hour, int minute, int second);

// How far pixel (x, y) of a 1x frame lies outside the edges of the plain
// hands in g, on a dial of radii rx, ry: its distance from their lines
// less each layer's half width, the smallest over the hands the settings
// draw. Only there may a frame drawn by other code than the server's differ.
double beyondHandEdges(int x, int y, const HandGeometry &g, int rx, int ry);

// Where a frame drawn by the client differs from the X server's: in all,
// and outside the band a pixel wide around the plain hands' edges (the
// hands as computed on the 1x dial, the frames magnified n times; smooth
// frames may differ nowhere), with the first such pixel.
struct FrameDifference {
    int differing = 0;
    int outside = 0;
    std::string first;
};

// Compares x (the X clock's frame) with the same size of mine from (left, top).
FrameDifference compareFrames(const Image &mine, int left, int top, const Image &x,
                              const HandGeometry &hands, int n);
