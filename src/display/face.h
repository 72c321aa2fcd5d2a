// The static dial face on facePixmap: background, bevelled border and tick
// marks. Drawn once during set-up; frames start from a copy of it.
#pragma once

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

void fillBackground();
void drawBevel(int pushedIn);
void drawTickMarks();
