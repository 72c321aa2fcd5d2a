// Where things go on the clock, for either screen: the dial and the label
// in a window of the clock's size, the tick marks around the dial, the size
// a geometry string asks for and the largest scale that still fits.
#pragma once

// Where the dial and the label go in a W x H window.
struct DialLayout {
    int centerX, centerY;  // dial centre
    int radiusX, radiusY;  // dial radii (no lower bound: may be negative)
    int labelX, labelY;    // label left end and baseline, 0 without label
};

// The running clock's layout, set once by the screen's set-up.
extern DialLayout clockLayout;

DialLayout dialLayout(int width, int height, int drawDayDate, int labelOn, int labelTop,
                      int labelHeight, int labelWidth);

struct TickPoint {
    int x, y;
};

// Most points drawTickMarks can draw: 60 ring points plus 4 neighbours for
// each of 60 crosses (a drawTicks of 2 crosses only 12, but the bound is cheap).
enum { MAX_TICK_POINTS = 60 * 5 };

// Every point of the tick marks in drawing order, for the dial cx, cy, rx,
// ry and drawTicks 0 (none), 1 (five-minute marks with quarter wedges) or
// anything else (all sixty minutes, crosses only when it is 2). Returns the
// count written into points.
int tickPoints(int cx, int cy, int rx, int ry, unsigned int drawTicks, TickPoint *points);

// Largest window or pixmap side the clock accepts from a geometry string:
// drawing coordinates travel as signed 16-bit values, so beyond this the
// bevel and the indicators at the far edges could no longer be addressed.
enum { MAX_WINDOW_SIDE = 32767 };

// The window size after a geometry string: a width or height it gives
// replaces the current one when it lies within 1..MAX_WINDOW_SIDE (0 or a
// larger side would end the clock with an X protocol error). Returns the
// XParseGeometry mask; an empty string parses nothing and returns 0.
int windowSizeFromGeometry(const char *geometry, unsigned int *width, unsigned int *height);

// The largest scale up to the one asked for at which a width x height clock
// stays within the largest window side the clock accepts (at least 1).
int fittingScale(unsigned int width, unsigned int height, int scale);

// The largest multiple of step up to asked at which a width x height clock
// stays within the largest window side (at least step), with one line on
// standard error when that is less than asked.
int fitScaleTo(unsigned int width, unsigned int height, int asked, int step);

// Keeps settings.scale within 1 and the largest scale at which the clock's
// window stays within the largest side (fitScaleTo, its line included).
void fitScale();

// The label font named was not found: two lines on standard output, flushed
// at once (the clock may be killed long before its exit would flush them);
// the caller leaves the label out.
void reportLabelFontFailure(const char *font);
